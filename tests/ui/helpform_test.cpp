#include "helpform.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

QStringList Titles(const THelpForm& form)
{
    QStringList titles;
    for (int i = 0; i < form.TreeViewTopics->topLevelItemCount(); ++i)
        titles << form.TreeViewTopics->topLevelItem(i)->text(0);
    return titles;
}

TEST(Help, TheProgramsHelpTextHasItsSixTopics)
{
    THelpForm form;
    form.ShowHelp();
    const QStringList titles = {"Zorbela Nedir?",  "Çalışma Şekli", "Ruvo'in kuralları",
                                "Neler yeni?",     "Teşekkür",      "Yazarı"};
    EXPECT_EQ(Titles(form), titles);
    // The first topic is chosen as the window opens.
    EXPECT_EQ(form.StaticTextHeader->text(), titles[0]);
    EXPECT_FALSE(form.MemoTopic->toPlainText().contains(QStringLiteral("!#!")));
    EXPECT_TRUE(form.MemoTopic->isReadOnly());

    form.TreeViewTopics->setCurrentItem(form.TreeViewTopics->topLevelItem(2));
    EXPECT_EQ(form.StaticTextHeader->text(), titles[2]);
    EXPECT_TRUE(form.MemoTopic->toPlainText().contains(QStringLiteral("Rıfkı Almaz")));

    // A second showing adds nothing and keeps the chosen topic.
    form.hide();
    form.ShowHelp();
    EXPECT_EQ(Titles(form), titles);
    EXPECT_EQ(form.StaticTextHeader->text(), titles[2]);
    form.hide();
}

TEST(Help, TopicsAreSplitAtTheMarker)
{
    QString text = QStringLiteral("before any title\n!#! One\n\nfirst line\r\n  indented\n"
                                  "!#!Not a title\n!#! Two\nsecond\n");
    for (int i = 3; i <= 12; ++i)
        text += QStringLiteral("!#! T%1\nline %1\n").arg(i);
    THelpForm form;
    form.BuildTopics(text);
    ASSERT_EQ(form.TopicCount(), 10);
    EXPECT_EQ(Titles(form).mid(0, 3), QStringList({"One", "Two", "T3"}));
    EXPECT_EQ(Titles(form).last(), "T10");
    EXPECT_EQ(form.TopicLines(0), QStringList({"", "first line", "  indented", "!#!Not a title"}));
    EXPECT_EQ(form.TopicLines(1), QStringList({"second"}));
    EXPECT_EQ(form.TopicLines(9), QStringList({"line 10"})); // titles past ten take nothing

    // Choosing a topic shows its lines from the empty one after its title.
    form.ShowHelp();
    EXPECT_EQ(form.StaticTextHeader->text(), "One");
    EXPECT_EQ(form.MemoTopic->document()->blockCount(), 4);
    EXPECT_EQ(form.MemoTopic->document()->firstBlock().text(), "");
    EXPECT_EQ(form.MemoTopic->document()->findBlockByNumber(1).text(), "first line");
    EXPECT_EQ(form.TopicCount(), 10);
    form.hide();
}

} // namespace
