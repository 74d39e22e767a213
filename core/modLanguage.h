// Interface texts by number, read from "Data/Language.txt". The file is the
// first data file read at start and the only one whose absence stops the
// program.
#pragma once

#include "core/LoadContext.h"

#include <QString>

#include <vector>

namespace modLanguage {

// Shown (under the program's title) when the language file is missing or
// empty; the program ends when it is closed.
inline constexpr char16_t kMissingLanguageFileMessage[] =
    u"Can't load language file. It should be in your 'Data' folder.\r\n"
    u"Please, download Wayloom again and, if the problem persists, contact me at: "
    u"support@wayloom.org";

inline constexpr char16_t kLanguageFile[] = u"Data/Language.txt";

// Texts indexed by number, 0 .. highest number in the file. Numbers without a
// line hold ""; looking up a number beyond the highest also gives "".
class LanguageStrings {
public:
    LanguageStrings() = default;

    const QString& operator()(int n) const;
    // True when the file defined number n (even as an empty text).
    bool defined(int n) const;
    int highest() const { return static_cast<int>(m_texts.size()) - 1; }

    // Sets text n, growing the table; used by the loader and by tests that
    // build a small world of their own.
    void set(int n, const QString& text);
    // Gives every text this version added that the file lacks its built-in
    // English text (a language file made before the additions keeps working);
    // such texts do not count as defined by the file.
    void addMissingDefaults();
    void clear();

    // "<<< " + text 9 + " >>>": the first entry of a list that stands for all
    // entries or for no choice.
    QString allEntries() const;

private:
    std::vector<QString> m_texts{1};
    std::vector<bool> m_defined{false};
};

// Reads the language file (texts it lacks that this version added get their
// English defaults). False when it is missing or empty (FileLength
// below 1): the caller shows kMissingLanguageFileMessage and ends the program.
// Lines without a tab and numbers out of range are skipped with a diagnostic.
bool LoadLanguage(const LoadContext& ctx, LanguageStrings& strings);

} // namespace modLanguage
