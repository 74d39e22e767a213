// The shipped language file against the table of text numbers the program
// uses: every number must be defined, with a readable text.
#include "core/TextNumbers.h"
#include "records/RecordFile.h"

#include <gtest/gtest.h>

#include <QFile>

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

TEST(LanguageFile, EveryLineIsNumberTabTextEndedByCrLf)
{
    QFile f(kLanguageFile);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    const auto lines = bytes.chopped(2).split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].chopped(lines[i].endsWith('\r') ? 1 : 0).split('\t');
        EXPECT_TRUE(lines[i].endsWith('\r') || i == lines.size() - 1) << "line " << i + 1 << " lacks CR";
        bool number = false;
        fields[0].toInt(&number);
        EXPECT_TRUE(number && fields.size() == 2) << "line " << i + 1 << ": " << lines[i].toStdString();
    }
}

TEST(LanguageFile, SharedRolesReadWell)
{
    // Texts that other data must match, or that are built into longer texts.
    const auto texts = ReadTexts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.at(Text::NoAttribute), QStringLiteral("No attribute"));
    EXPECT_EQ(texts.at(Text::AllEntry), QStringLiteral("All"));
    // Followed by " " + name + " ?": no closing punctuation of its own.
    EXPECT_FALSE(texts.at(Text::DeleteCharacterQuestion).endsWith(u'?'));
}

} // namespace
