#pragma once

class PhraseBook;
class QPagedPaintDevice;

// The phrase table on paper: header "文字列", each row under its number, up to the last
// phrase that holds text. Returns the number of pages drawn.
int printPhrases(const PhraseBook& phrases, QPagedPaintDevice& device);
