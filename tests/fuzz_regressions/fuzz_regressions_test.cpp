#include "fuzz_entries.h"
#include "test_paths.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

namespace {

const QString SourceDir = QStringLiteral(TOVENLA_SOURCE_DIR);

class FuzzInputs : public testing::TestWithParam<FuzzEntries::Target> {};

// Every input a fuzz run once failed on, and the seeds it starts from, goes through the same
// reader again: no crash, no exception the reader should have turned into a message, and no
// input that takes more than a second.
TEST_P(FuzzInputs, AreReadQuicklyWithoutCrashing) {
    const FuzzEntries::Target target = GetParam();
    const QString name = QString::fromLatin1(target.name);
    const QStringList folders{SourceDir + QStringLiteral("/tests/data/fuzz/") + name,
                              SourceDir + QStringLiteral("/tests/fuzz/corpus/") + name};
    ASSERT_TRUE(QDir(folders.at(1)).exists()) << "no seed corpus for " << target.name;
    int inputs = 0;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& file : dir.entryList(QDir::Files, QDir::Name)) {
            QFile input(dir.filePath(file));
            ASSERT_TRUE(input.open(QIODevice::ReadOnly)) << qPrintable(input.fileName());
            const QByteArray bytes = input.readAll();
            QElapsedTimer timer;
            timer.start();
            EXPECT_NO_THROW(
                target.run(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())))
                << qPrintable(input.fileName());
            EXPECT_LT(timer.elapsed(), 1000) << qPrintable(input.fileName());
            ++inputs;
        }
    }
    EXPECT_GT(inputs, 0);
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzInputs,
                         testing::ValuesIn(FuzzEntries::targets().begin(), FuzzEntries::targets().end()),
                         [](const testing::TestParamInfo<FuzzEntries::Target>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
