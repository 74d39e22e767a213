// The shipped language file against the table of text numbers the program
// uses: every number must be defined, with a readable text.
#include "core/TextNumbers.h"
#include "records/RecordFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

const QString kLanguageFile = QStringLiteral(WAYLOOM_SOURCE_DIR "/resources/Language.txt");

std::map<int, QString> ReadTexts()
{
    std::map<int, QString> texts;
    records::RecordText file;
    if (!records::ReadRecordFile(kLanguageFile, file))
        return texts;
    for (QStringView line : file.lines) {
        const auto fields = records::SplitFields(line);
        if (fields.size() < 2)
            continue;
        const auto n = records::NumberField<int>(fields[0]);
        if (n)
            texts[*n] = fields[1].toString();
    }
    return texts;
}

TEST(LanguageFile, DefinesEveryNumberTheProgramUses)
{
    EXPECT_TRUE(std::is_sorted(Text::AllUsed.begin(), Text::AllUsed.end()));
    EXPECT_EQ(std::adjacent_find(Text::AllUsed.begin(), Text::AllUsed.end()), Text::AllUsed.end()) << "a repeat";
    const auto texts = ReadTexts();
    ASSERT_FALSE(texts.empty()) << "cannot read " << kLanguageFile.toStdString();
    for (int n : Text::AllUsed) {
        const auto it = texts.find(n);
        ASSERT_NE(it, texts.end()) << "text " << n << " missing";
        EXPECT_FALSE(it->second.trimmed().isEmpty()) << "text " << n << " is blank";
    }
}

} // namespace
