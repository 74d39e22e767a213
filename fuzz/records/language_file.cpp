// The language file as the start-up reads it: the input becomes
// Data/Language.txt and LoadLanguage reads it. Nothing may crash or hang,
// the table stays within its bounds, and every text number the program uses
// can be looked up.
#include "ScratchFolder.h"

#include "core/TextNumbers.h"
#include "core/modLanguage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const ScratchFolder folder;
    folder.write(QStringLiteral("Data/Language.txt"), QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    records::Diagnostics diagnostics;
    modLanguage::LanguageStrings strings;
    const bool loaded = modLanguage::LoadLanguage(LoadContext{folder.path(), &diagnostics}, strings);
    Require(loaded == (size > 0), "a language file is read exactly when it has a byte");
    Require(strings.highest() >= 0 && strings.highest() <= 32767, "text numbers stay in range");
    for (int n : Text::AllUsed) {
        Require(strings(n).size() <= 2048, "a text stays short");
        if (loaded && n >= Text::FirstAddedText)
            Require(!strings(n).isEmpty() || strings.defined(n), "every added text has a default");
    }
    Require(strings(-1).isEmpty() && strings(strings.highest() + 1).isEmpty(), "numbers outside read as empty");
    Require(strings.allEntries().startsWith(QStringLiteral("<<< ")), "the all-entries text");
    return 0;
}
