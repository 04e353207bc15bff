// THelpForm ("Zorbela Yardım"): the help text as topics on the left and the chosen
// topic's text on the right.
//
// The help text is one block of lines (the resource ":/help/help.txt", UTF-8; in English
// ":/help/help_en.txt"). A line that begins with "!#! " starts a topic whose title is the
// rest of the line; every other line belongs, unchanged, to the topic above it. Lines before
// the first title have no topic and are dropped, and so is everything from an eleventh title
// on.
#pragma once

#include <QStringList>
#include <QWidget>

#include <vector>

class QLabel;
class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

class THelpForm : public QWidget {
    Q_OBJECT
public:
    explicit THelpForm(QWidget* parent = nullptr);

    // The menu command: the first showing splits the help text into topics and selects
    // the first one; later showings change nothing.
    void ShowHelp();

    // Splits a help text into topics (done by the first ShowHelp with the text in
    // MemoTopic); does nothing once the topics are built.
    void BuildTopics(const QString& text);
    bool Built() const { return built_; }

    int TopicCount() const { return int(topics_.size()); }
    const QStringList& TopicLines(int i) const { return topics_[size_t(i)]; }

    // The program's help text.
    static QString HelpText();

    static constexpr int kClientWidth = 536;
    static constexpr int kClientHeight = 370;
    static constexpr int kMaxTopics = 10;
    static const QColor kHeaderColor; // RGB (128, 255, 255)
    static const QColor kTextColor;   // RGB (255, 255, 200)

    QTreeWidget* TreeViewTopics;
    QWidget* Panel1;
    QLabel* StaticTextHeader;
    QPlainTextEdit* MemoTopic;

private:
    void TreeViewTopicsChange(QTreeWidgetItem* node);

    std::vector<QStringList> topics_;
    bool built_ = false;
};
