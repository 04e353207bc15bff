#include "prompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString Title() { return QStringLiteral("Zorbela - RUVO Network"); }

} // namespace

void TUserPrompts::Inform(QWidget* parent, const QString& text)
{
    QMessageBox::information(parent, Title(), text);
}

bool TUserPrompts::Ask(QWidget* parent, const QString& text, bool warning)
{
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Question, Title(), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Evet"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Hayır"));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::unique_ptr<QMessageBox> TUserPrompts::BackBox(QWidget* parent, const QString& text)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, Title(), text,
                                             QMessageBox::Yes | QMessageBox::No, parent);
    box->button(QMessageBox::Yes)->setText(QStringLiteral("Evet"));
    box->button(QMessageBox::No)->setText(QStringLiteral("Hayır"));
    QPushButton* back = box->addButton(QStringLiteral("Oyuna dön"), QMessageBox::RejectRole);
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
