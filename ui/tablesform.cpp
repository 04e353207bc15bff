#include "tablesform.h"

#include "recordtext.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "cp1254.h"

namespace {

// The longest turn clock a server takes, in seconds.
constexpr int kLongestClockS = 3600;

} // namespace

QString TTablesForm::SecondsText(int s) { return s > 0 ? tr("%1 sn").arg(s) : QStringLiteral("–"); }

QList<TTableRow> TTablesForm::Rows(const QList<TTableListing>& tables)
{
    QList<TTableRow> rows;
    for (const TTableListing& t : tables) {
        TTableRow row;
        row.Code = t.Code;
        row.Name = t.Settings.Name;
        if (t.Settings.Flags & TTableSettings::kDefault)
            row.Name = tr("%1 (genel)").arg(row.Name);
        QStringList names;
        for (const QByteArray& seat : t.Seats)
            if (!seat.isEmpty())
                names << FromCp1254(seat);
        row.Full = names.size() == int(t.Seats.size());
        row.Players = names.join(QStringLiteral(", "));
        if (!row.Full)
            row.Players += (names.isEmpty() ? QString() : QStringLiteral(" ")) +
                           tr("(%1 boş yer)").arg(int(t.Seats.size()) - names.size());
        row.Level = t.Settings.Level == 1 ? tr("Usta") : tr("Acemi");
        row.Clock = t.Settings.CardS == 0 && t.Settings.ContractS == 0
                        ? tr("yok")
                        : SecondsText(t.Settings.CardS) + QStringLiteral(" / ") + SecondsText(t.Settings.ContractS);
        QStringList state{(t.Settings.Flags & TTableSettings::kStarted) ? tr("oynanıyor") : tr("bekliyor")};
        if (t.Settings.Flags & TTableSettings::kLocked)
            state << tr("kilitli");
        if (t.Settings.Flags & TTableSettings::kPrivateHands)
            state << tr("eller gizli");
        if (t.Watchers > 0)
            state << tr("%1 izleyici").arg(t.Watchers);
        row.State = state.join(QStringLiteral(", "));
        rows << row;
    }
    return rows;
}

TTablesForm::TTablesForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TablesForm"));
    setWindowTitle(tr("Masalar"));
    Build();
}

void TTablesForm::Build()
{
    auto* layout = new QVBoxLayout(this);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("TableList"));
    list_->setRootIsDecorated(false);
    list_->setAllColumnsShowFocus(true);
    list_->setHeaderLabels({tr("Masa"), tr("Oyuncular"), tr("Seviye"), tr("Süre (kağıt / oyun)"), tr("Durum"), tr("Kod")});
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->setMinimumSize(480, 160);
    layout->addWidget(list_, 1);
    message_ = new QLabel(this);
    message_->setWordWrap(true);
    message_->setTextFormat(Qt::PlainText);
    layout->addWidget(message_);

    auto* buttons = new QHBoxLayout;
    join_ = new QPushButton(tr("Katıl"), this);
    watch_ = new QPushButton(tr("İzle"), this);
    refresh_ = new QPushButton(tr("Yenile"), this);
    buttons->addWidget(join_);
    buttons->addWidget(watch_);
    buttons->addWidget(refresh_);
    buttons->addStretch(1);
    buttons->addWidget(new QLabel(tr("Davet kodu:"), this));
    code_ = new QLineEdit(this);
    code_->setMaxLength(kTableCodeLength);
    code_->setPlaceholderText(QStringLiteral("ABC234"));
    code_->setFixedWidth(code_->fontMetrics().horizontalAdvance(QStringLiteral("WWWWWWW")) + 12);
    buttons->addWidget(code_);
    joinCode_ = new QPushButton(tr("Kodla katıl"), this);
    buttons->addWidget(joinCode_);
    layout->addLayout(buttons);

    auto* group = new QGroupBox(tr("Yeni masa"), this);
    auto* form = new QFormLayout(group);
    name_ = new QLineEdit(group);
    name_->setMaxLength(29);
    form->addRow(tr("Adı:"), name_);
    level_ = new QComboBox(group);
    level_->addItems({tr("Acemi"), tr("Usta")});
    form->addRow(tr("Bilgisayar seviyesi:"), level_);
    auto seconds = [group](int value) {
        auto* box = new QSpinBox(group);
        box->setRange(0, kLongestClockS);
        box->setValue(value);
        box->setSuffix(tr(" sn"));
        box->setSpecialValueText(tr("sınırsız"));
        return box;
    };
    cardS_ = seconds(30);
    contractS_ = seconds(45);
    form->addRow(tr("Kağıt için süre:"), cardS_);
    form->addRow(tr("Oyun seçmek için süre:"), contractS_);
    private_ = new QCheckBox(tr("Herkes yalnız kendi elini görsün"), group);
    private_->setChecked(true);
    form->addRow(private_);
    create_ = new QPushButton(tr("Masayı kur"), group);
    form->addRow(create_);
    layout->addWidget(group);

    connect(list_, &QTreeWidget::itemDoubleClicked, this, &TTablesForm::JoinSelected);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &TTablesForm::SelectionChanged);
    connect(join_, &QPushButton::clicked, this, &TTablesForm::JoinSelected);
    connect(watch_, &QPushButton::clicked, this, [this] {
        if (!Selected().isEmpty())
            emit watchTable(Selected());
    });
    connect(refresh_, &QPushButton::clicked, this, &TTablesForm::refresh);
    connect(joinCode_, &QPushButton::clicked, this, &TTablesForm::JoinByCode);
    connect(code_, &QLineEdit::returnPressed, this, &TTablesForm::JoinByCode);
    connect(create_, &QPushButton::clicked, this, &TTablesForm::Create);
    SelectionChanged();
}

void TTablesForm::SetTables(const QList<TTableListing>& tables)
{
    const QByteArray selected = Selected();
    rows_ = Rows(tables);
    list_->clear();
    for (const TTableRow& row : rows_) {
        auto* item = new QTreeWidgetItem(list_, {row.Name, row.Players, row.Level, row.Clock, row.State,
                                                 QString::fromLatin1(row.Code)});
        item->setData(0, Qt::UserRole, row.Code);
        for (int column = 0; column < list_->columnCount(); ++column)
            item->setToolTip(column, PlainTip(item->text(column))); // whole, where the column cuts it
        if (row.Code == selected)
            item->setSelected(true);
    }
    if (rows_.isEmpty())
        SetMessage(tr("Sunucuda masa yok: yeni bir masa kurabilirsin."));
    SelectionChanged();
    FitList();
}

void TTablesForm::FitList()
{
    // Wide enough for every column, as far as the screen allows; never narrower than before.
    int wanted = 2 * list_->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
    for (int column = 0; column < list_->columnCount(); ++column) {
        int widest = list_->header()->sectionSizeHint(column);
        for (int i = 0; i < list_->topLevelItemCount(); ++i)
            widest = std::max(widest, list_->fontMetrics().horizontalAdvance(list_->topLevelItem(i)->text(column)) + 20);
        wanted += widest;
    }
    const QScreen* screen = this->screen();
    const int room = screen ? screen->availableGeometry().width() * 9 / 10 : wanted;
    list_->setMinimumWidth(std::max(list_->minimumWidth(), std::min(wanted, room)));
}

void TTablesForm::SetMessage(const QString& text) { message_->setText(text); }

void TTablesForm::ProposeName(const QString& name)
{
    if (name_->text().isEmpty())
        name_->setText(name.left(name_->maxLength()));
}

QByteArray TTablesForm::Selected() const
{
    const QList<QTreeWidgetItem*> items = list_->selectedItems();
    return items.isEmpty() ? QByteArray() : items.front()->data(0, Qt::UserRole).toByteArray();
}

void TTablesForm::SelectionChanged()
{
    const QByteArray code = Selected();
    const auto row = std::find_if(rows_.begin(), rows_.end(), [&code](const TTableRow& r) { return r.Code == code; });
    join_->setEnabled(row != rows_.end() && !row->Full);
    watch_->setEnabled(row != rows_.end());
}

void TTablesForm::JoinSelected()
{
    const QByteArray code = Selected();
    const auto row = std::find_if(rows_.begin(), rows_.end(), [&code](const TTableRow& r) { return r.Code == code; });
    if (row == rows_.end())
        return;
    if (row->Full)
        return SetMessage(tr("Bu masada boş yer yok; izleyebilirsin."));
    emit joinTable(code);
}

void TTablesForm::JoinByCode()
{
    const QByteArray code = code_->text().trimmed().toUpper().toLatin1();
    if (!IsTableCode(code))
        return SetMessage(tr("Davet kodu %1 harf ya da rakamdır (örneğin ABC234).").arg(kTableCodeLength));
    emit joinTable(code);
}

void TTablesForm::Create()
{
    TTableSettings settings;
    settings.Name = name_->text().trimmed();
    if (settings.Name.isEmpty())
        return SetMessage(tr("Masaya bir ad ver."));
    settings.Level = uint8_t(level_->currentIndex() == 1 ? 1 : 0);
    settings.CardS = uint16_t(cardS_->value());
    settings.ContractS = uint16_t(contractS_->value());
    settings.Flags = private_->isChecked() ? TTableSettings::kPrivateHands : 0;
    emit createTable(settings);
}
