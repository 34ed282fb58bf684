#pragma once

// The Windows Japanese font names that settings and templates carry are drawn with the IPA
// fonts when the Windows fonts are not installed.
void installJapaneseFontSubstitutes();
