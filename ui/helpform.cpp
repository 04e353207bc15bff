#include "helpform.h"

#include "drawnpicture.h"
#include "language.h"
#include "recordtext.h"

#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTreeWidget>

const QColor THelpForm::kHeaderColor(128, 255, 255);
const QColor THelpForm::kTextColor(255, 255, 200);

namespace {

const QString kMarker = QStringLiteral("!#! ");

// The 16 x 16 picture of a topic: a small yellow page with a blue question mark.
void DrawTopicIcon(QPainter& p)
{
    p.setPen(QColor(80, 80, 80));
    p.setBrush(QColor(255, 245, 160));
    p.drawRect(2, 0, 11, 15);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0, 0, 200));
    p.drawText(QRect(2, 0, 12, 16), Qt::AlignCenter, QStringLiteral("?"));
}

// A fixed background comes with its text colour, so the text reads the same on a dark
// desktop theme.
void Paint(QWidget* w, const QColor& colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    pal.setColor(QPalette::Base, colour);
    pal.setColor(QPalette::WindowText, Qt::black);
    pal.setColor(QPalette::Text, Qt::black);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

} // namespace

THelpForm::THelpForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(tr("Zorbela Yardım"));
    setFont(ArialPixels(11));
    setFixedSize(kClientWidth, kClientHeight);

    TreeViewTopics = new QTreeWidget(this);
    TreeViewTopics->setObjectName(QStringLiteral("TreeViewTopics"));
    TreeViewTopics->setGeometry(0, 0, 120, kClientHeight);
    TreeViewTopics->setFont(ArialPixels(12));
    TreeViewTopics->setHeaderHidden(true);
    TreeViewTopics->setRootIsDecorated(false);
    TreeViewTopics->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeViewTopics->setIconSize(QSize(16, 16));
    TreeViewTopics->setSelectionMode(QAbstractItemView::SingleSelection);

    Panel1 = new QWidget(this);
    Panel1->setGeometry(120, 0, kClientWidth - 120, kClientHeight);

    StaticTextHeader = new QLabel(QStringLiteral("Zorbela"), Panel1);
    StaticTextHeader->setObjectName(QStringLiteral("StaticTextHeader"));
    StaticTextHeader->setGeometry(0, 0, Panel1->width(), 19);
    StaticTextHeader->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StaticTextHeader->setFont([] {
        QFont f = ArialPixels(12, true);
        f.setItalic(true);
        return f;
    }());
    Paint(StaticTextHeader, kHeaderColor);

    MemoTopic = new QPlainTextEdit(Panel1);
    MemoTopic->setObjectName(QStringLiteral("MemoTopic"));
    MemoTopic->setGeometry(0, 19, Panel1->width(), kClientHeight - 19);
    MemoTopic->setFont(ArialPixels(12));
    MemoTopic->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoTopic->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoTopic->setPlainText(HelpText());
    Paint(MemoTopic, kTextColor);
    Paint(MemoTopic->viewport(), kTextColor);

    setTabOrder(TreeViewTopics, MemoTopic);
    connect(TreeViewTopics, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* node, QTreeWidgetItem*) { TreeViewTopicsChange(node); });
}

QString THelpForm::HelpText()
{
    QFile file(CurrentLanguage() == TLanguage::English ? QStringLiteral(":/help/help_en.txt")
                                                       : QStringLiteral(":/help/help.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

void THelpForm::BuildTopics(const QString& text)
{
    if (built_)
        return;
    TreeViewTopics->clear();
    topics_.clear();

    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the text's last line break does not start another line
    const QIcon icon = DrawnIcon(QSize(16, 16), DrawTopicIcon);
    QStringList* current = nullptr;
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(kMarker)) {
            current = nullptr;
            if (TopicCount() < kMaxTopics) {
                auto* node = new QTreeWidgetItem(TreeViewTopics, QStringList(line.mid(kMarker.size())));
                node->setIcon(0, icon);
                topics_.emplace_back();
                current = &topics_.back();
            }
        } else if (current) {
            current->append(line);
        }
    }
    MemoTopic->setReadOnly(true);
    MemoTopic->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    built_ = true;
    if (TopicCount() > 0)
        TreeViewTopics->setCurrentItem(TreeViewTopics->topLevelItem(0));
}

void THelpForm::ShowHelp()
{
    const bool first = !built_;
    BuildTopics(MemoTopic->toPlainText());
    if (first) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
}

void THelpForm::TreeViewTopicsChange(QTreeWidgetItem* node)
{
    if (!node)
        return;
    const int index = TreeViewTopics->indexOfTopLevelItem(node);
    if (index < 0 || index >= TopicCount())
        return;
    MemoTopic->setPlainText(topics_[size_t(index)].join(QLatin1Char('\n')));
    StaticTextHeader->setText(node->text(0));
}
