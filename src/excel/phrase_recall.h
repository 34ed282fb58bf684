#pragma once

#include <QString>

#include <functional>
#include <optional>

// "*n" typed in a text box and confirmed with Enter: phrase n of the dictionary (1 to 500).
// Nothing when the text asks for no phrase.
std::optional<QString> recallPhrase(const QString& text, const std::function<QString(int)>& phrase);
