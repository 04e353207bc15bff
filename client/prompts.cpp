#include "prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <deque>

namespace {

QString Title() { return QStringLiteral("Zorbela - RUVO Network"); }

QString Text(const char* source) { return QCoreApplication::translate("TUserPrompts", source); }

// "Evet" and "Hayır" in the program's language, "Evet" the default.
void NameYesNo(QMessageBox& box)
{
    box.button(QMessageBox::Yes)->setText(Text(QT_TRANSLATE_NOOP("TUserPrompts", "Evet")));
    box.button(QMessageBox::No)->setText(Text(QT_TRANSLATE_NOOP("TUserPrompts", "Hayır")));
    box.setDefaultButton(QMessageBox::Yes);
}

// The notices of the whole program, on the user-interface thread: the one open (or
// beeping before it opens) and those waiting behind it.
class TNoticeLine : public QObject {
public:
    static TNoticeLine& Instance()
    {
        static auto* line = new TNoticeLine(QCoreApplication::instance());
        return *line;
    }

    void Add(QWidget* parent, const QString& text, int beeps)
    {
        if (text == currentText_ && busy_)
            return;
        for (const TNotice& n : waiting_)
            if (n.text == text)
                return;
        if (int(waiting_.size()) >= TUserPrompts::kMaxWaitingNotices)
            return;
        waiting_.push_back({parent, text, beeps});
        if (!busy_)
            Next();
    }

    int Pending() const { return int(waiting_.size()) + (busy_ ? 1 : 0); }

private:
    struct TNotice {
        QPointer<QWidget> parent;
        QString text;
        int beeps;
    };

    explicit TNoticeLine(QObject* owner) : QObject(owner) {}

    void Next()
    {
        busy_ = !waiting_.empty();
        if (!busy_) {
            currentText_.clear();
            return;
        }
        current_ = waiting_.front();
        waiting_.pop_front();
        currentText_ = current_.text;
        Beep(current_.beeps);
    }

    // One beep, then the next a second later; the box after the last one.
    void Beep(int left)
    {
        if (left <= 0)
            return Show();
        QApplication::beep();
        QTimer::singleShot(left > 1 ? TUserPrompts::kBeepIntervalMs : 0, this, [this, left] { Beep(left - 1); });
    }

    void Show()
    {
        QWidget* parent = current_.parent ? current_.parent.data() : QApplication::activeWindow();
        auto* box = new QMessageBox(QMessageBox::Information, Title(), current_.text, QMessageBox::Ok, parent);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::NonModal);
        connect(box, &QMessageBox::finished, this, [this] { Next(); });
        box->show();
    }

    std::deque<TNotice> waiting_;
    TNotice current_;
    QString currentText_;
    bool busy_ = false;
};

} // namespace

void TUserPrompts::Notice(QWidget* parent, const QString& text, int beeps)
{
    QPointer<QWidget> guarded(parent);
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || text.isEmpty())
        return;
    // Always through the event loop, so that no box (and no beep) happens inside the
    // handler that found the reason.
    QMetaObject::invokeMethod(
        app, [guarded, text, beeps] { TNoticeLine::Instance().Add(guarded.data(), text, beeps); },
        Qt::QueuedConnection);
}

int TUserPrompts::PendingNotices()
{
    return TNoticeLine::Instance().Pending();
}

void TUserPrompts::Inform(QWidget* parent, const QString& text)
{
    Notice(parent, text);
}

void TUserPrompts::AskThen(QWidget* parent, const QString& text, QObject* context, std::function<void(bool)> then)
{
    auto* box = new QMessageBox(QMessageBox::Question, Title(), text, QMessageBox::Yes | QMessageBox::No, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    NameYesNo(*box);
    QObject::connect(box, &QMessageBox::finished, context,
                     [box, then = std::move(then)] { then(box->clickedButton() == box->button(QMessageBox::Yes)); });
    box->open();
}

void TUserPrompts::AskChoiceThen(QWidget* parent, const QString& caption, const QStringList& items,
                                 QObject* context, std::function<void(std::optional<QString>)> then)
{
    auto* dialog = new QInputDialog(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(Title());
    dialog->setLabelText(caption);
    dialog->setComboBoxItems(items);
    dialog->setComboBoxEditable(false);
    QObject::connect(dialog, &QInputDialog::finished, context, [dialog, then = std::move(then)](int result) {
        const QString item = dialog->textValue();
        then(result == QDialog::Accepted && !item.isEmpty() ? std::optional<QString>(item) : std::nullopt);
    });
    dialog->open();
}

void TUserPrompts::Tell(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Information, Title(), text, QMessageBox::Ok, parent);
    box.exec();
}

bool TUserPrompts::Ask(QWidget* parent, const QString& text, bool warning)
{
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Question, Title(), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    NameYesNo(box);
    return box.exec() == QMessageBox::Yes;
}

std::unique_ptr<QMessageBox> TUserPrompts::BackBox(QWidget* parent, const QString& text)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, Title(), text,
                                             QMessageBox::Yes | QMessageBox::No, parent);
    NameYesNo(*box);
    QPushButton* back = box->addButton(Text(QT_TRANSLATE_NOOP("TUserPrompts", "Oyuna dön")), QMessageBox::RejectRole);
    box->setEscapeButton(back);
    box->setDefaultButton(back);
    return box;
}

TUserPrompts::TAnswer TUserPrompts::AnswerOf(const QMessageBox& box)
{
    if (box.clickedButton() == box.button(QMessageBox::Yes))
        return TAnswer::Yes;
    if (box.clickedButton() == box.button(QMessageBox::No))
        return TAnswer::No;
    return TAnswer::Back; // "Oyuna dön", Escape, the close button
}

TUserPrompts::TAnswer TUserPrompts::AskOrBack(QWidget* parent, const QString& text)
{
    const std::unique_ptr<QMessageBox> box = BackBox(parent, text);
    box->exec();
    return AnswerOf(*box);
}

std::optional<QString> TUserPrompts::AskLine(QWidget* parent, const QString& caption)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, caption, QString(), QLineEdit::Normal, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> TUserPrompts::AskChoice(QWidget* parent, const QString& caption,
                                              const QStringList& items)
{
    bool ok = false;
    const QString item = QInputDialog::getItem(parent, Title(), caption, items, 0, false, &ok);
    if (!ok || item.isEmpty())
        return std::nullopt;
    return item;
}

QString TUserPrompts::SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                   const QString& defaultSuffix)
{
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    // The overwrite question is the window's own, asked after the dialog closes.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString TUserPrompts::OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                   const QString& defaultSuffix, const QString& proposedName)
{
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}
