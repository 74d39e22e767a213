// The note editor's Save on a world of its own: a title or text the notes
// file would not give back as it stands is refused with a message and
// nothing is written; what it accepts is stored and read back unchanged.
#include "../core/TestFiles.h"

#include "layers/frmManageNote.h"
#include "world/World.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

struct Editor {
    DataFolder data;
    World world;
    QStringList messages;

    Editor()
    {
        world.appFolder = data.path();
        world.language.set(71, QStringLiteral("A note needs a title."));
    }

    // Opens the editor on a new note at (5, 6) of campaign 1, region 2, types
    // the texts and presses Save.
    bool Save(const QString& title, const QString& body)
    {
        frmManageNote e(world);
        e.showMessage = [this](const QString& text) { messages << text; };
        e.SetX(5);
        e.SetY(6);
        e.SetNote(-1);
        e.SetCampaign(1);
        e.SetRegion(2);
        e.Load();
        e.txtShortDesc->setText(title);
        e.txtBody->setPlainText(body);
        return e.cmdSave_Click();
    }
};

TEST(NoteEditor, RefusesWhatTheFileWouldNotGiveBackAndWritesNothing)
{
    const struct {
        const char* name;
        QString title;
        QString body;
        const char* said; // a part of the message
    } rows[] = {
        {"title read as a comment", ";secret", "x", "\";\""},
        {"semicolon after blanks", "   ;secret", "x", "\";\""},
        {"tab in the text", "Ford", "a\tb", "tab"},
        {"the line-break mark in the text", "Ford", "see {#ENTER#}", "{#ENTER#}"},
        {"note too long to be read again", "Ford", QString(70'000, u'x'), "too long"},
        {"blank title", "   ", "x", "A note needs a title."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Editor editor;
        EXPECT_FALSE(editor.Save(row.title, row.body));
        ASSERT_EQ(editor.messages.size(), 1);
        EXPECT_TRUE(editor.messages[0].contains(QString::fromUtf8(row.said))) << editor.messages[0].toStdString();
        EXPECT_EQ(editor.world.notes.count(), 0);
        EXPECT_FALSE(editor.data.exists("Personal/Notes.txt"));
    }
}

TEST(NoteEditor, WhatItSavesIsTheNoteFoundAtTheNextStart)
{
    Editor editor;
    ASSERT_TRUE(editor.Save("  Ford; deep ", "  first\nsecond;\n\nthird  ")) << editor.messages.join("|").toStdString();
    EXPECT_EQ(editor.data.read("Personal/Notes.txt"),
              QByteArray("Ford; deep\tfirst{#ENTER#}second;{#ENTER#}{#ENTER#}third\t5\t6\t1\t2\r\n"));
    modNotes::Tables back;
    modNotes::LoadNotes(editor.data.ctx, back);
    ASSERT_EQ(back.count(), 1);
    const modNotes::MapNote& saved = editor.world.notes.Notes[1];
    EXPECT_EQ(back.Notes[1].ShortDesc, saved.ShortDesc);
    EXPECT_EQ(back.Notes[1].Body, saved.Body);
    EXPECT_EQ(saved.Body, "first\r\nsecond;\r\n\r\nthird");
}

} // namespace
