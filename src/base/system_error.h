#pragma once

#include <QString>

// The words of the program's messages for a failed system call's error number: every error a
// file, a disk or a share can give has its own reason; any other is named by its number.
QString systemErrorReason(int error);
