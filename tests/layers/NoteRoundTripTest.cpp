// Notes written by SaveNotes and read back by LoadNotes: a title and text the
// check accepts come back exactly; one it refuses would not have.
#include "../TestWorld.h"
#include "../core/TestFiles.h"

#include "layers/modNotes.h"

namespace {

struct Row {
    const char* name;
    QString title;
    QString body;
    bool accepted;
};

QString Chars(std::initializer_list<char16_t> cs)
{
    QString s;
    for (char16_t c : cs)
        s += QChar(c);
    return s;
}

const QString kLong = QString(65'000, u'x');

const Row kRows[] = {
    {"plain", "Bridge", "Wade at dusk", true},
    {"two lines", "Ford", "first\r\nsecond", true},
    {"every Windows-1252 letter", QString::fromUtf8("Café €‚ƒ„…†‡ˆ‰Š‹ŒŽ''“”•–—˜™š›œžŸ ÿ"),
     QString::fromUtf8("déjà vu ¤¦§¨©ª«¬®¯°±²³´µ¶·¸¹º»¼½¾¿"), true},
    {"the five undefined bytes", Chars({u'a', 0x81, 0x8D, 0x8F, 0x90, 0x9D}), Chars({0x81, u'z'}), true},
    {"control characters", Chars({u'a', 0x01, 0x1A, u'b'}), Chars({0x00, 0x07, 0x1B}), true},
    {"braces that are not the mark", "{#ENTER#}", "{#ENTER#{#enter#}}", true},
    {"line as long as it may be", "t", kLong, true},
    {"the UTF-8 mark starting the file", Chars({0xEF, 0xBB, 0xBF, u'a'}), QString::fromUtf8("é"), true},

    {"leading semicolon", ";secret", "x", false},
    {"leading blank", " Bridge", "x", false},
    {"tab in the title", "a\tb", "x", false},
    {"tab in the body", "t", "a\tb", false},
    {"lone carriage return in the body", "t", "a\rb", false},
    {"the line-break mark in the body", "t", "see {#ENTER#} here", false},
    {"title outside the code page", QString::fromUtf8("Ωmega"), "x", false},
    {"body outside the basic plane", "t", QString::fromUtf8("🙂"), false},
    {"line too long to be read again", "t", kLong + QString(600, u'y'), false},
};

bool Same(const modNotes::MapNote& a, const modNotes::MapNote& b)
{
    return a.ShortDesc == b.ShortDesc && a.Body == b.Body && a.Campaign == b.Campaign && a.Region == b.Region &&
           a.X == b.X && a.Y == b.Y && a.Left == b.Left && a.Bottom == b.Bottom;
}

TEST(NoteRoundTrip, WhatTheCheckAcceptsReadsBackUnchangedAndWhatItRefusesWouldNot)
{
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        const modNotes::TextProblem problem = modNotes::CheckNoteTexts(row.title, row.body);
        EXPECT_EQ(problem.ok(), row.accepted) << problem.message.toStdString();

        // The row's note first (a file's first line decides how it is read),
        // between two ordinary ones.
        DataFolder data;
        TestWorld t;
        t.note(row.title, row.body, 255, 0, -2'000'000, 2'000'000);
        t.note(QStringLiteral("Second"), QStringLiteral("two"), 1, 2, 10, 20);
        t.note(QStringLiteral("Third"), QString(), 3, 4, 0, 0);
        const modNotes::Tables& notes = t.world.notes;
        QString error;
        ASSERT_TRUE(modNotes::SaveNotes(data.path(), notes, &error)) << error.toStdString();
        modNotes::Tables back;
        modNotes::LoadNotes(data.ctx, back);
        const bool unchanged = back.count() == 3 && back.Unread.isEmpty() && Same(back.Notes[1], notes.Notes[1]);
        EXPECT_EQ(unchanged, row.accepted) << "the check and the file disagree";
        // Whatever the row, the other notes are never lost.
        ASSERT_GE(back.count(), 2);
        EXPECT_TRUE(Same(back.Notes[size_t(back.count()) - 1], notes.Notes[2]));
        EXPECT_TRUE(Same(back.Notes[size_t(back.count())], notes.Notes[3]));
    }
}

TEST(NoteRoundTrip, AFileRefusedAtStartIsNeverReplacedByASave)
{
    DataFolder data;
    // Past the largest record file read: refused, so no note was read.
    data.write("Personal/Notes.txt", "Kept\tnote\t1\t2\t3\t4\r\n");
    QFile file(data.path("Personal/Notes.txt"));
    ASSERT_TRUE(file.resize(records::kMaxRecordFileSize + 1)); // the rest reads as zero bytes
    modNotes::Tables notes;
    modNotes::LoadNotes(data.ctx, notes);
    EXPECT_EQ(notes.count(), 0);
    EXPECT_TRUE(notes.Refused);
    notes.Notes.emplace_back().ShortDesc = QStringLiteral("New");
    QString error;
    EXPECT_FALSE(modNotes::SaveNotes(data.path(), notes, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(QFileInfo(file).size(), records::kMaxRecordFileSize + 1);
    EXPECT_TRUE(data.read("Personal/Notes.txt").startsWith("Kept\tnote"));
}

} // namespace
