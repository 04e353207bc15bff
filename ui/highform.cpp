#include "highform.h"

#include "cp1254.h"
#include "drawnpicture.h"
#include "recordtext.h"
#include "regeasy.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QShowEvent>

#include <algorithm>
#include <cmath>
#include <cstring>

const QColor TTopListBox::kBackground(253, 254, 205);

// ---- One list ----

bool TTopList::Insert(const QByteArray& nameCp1254, int32_t score)
{
    for (int i = 0; i < Count; ++i) {
        const int32_t stored = Entries[size_t(i)].Score;
        if (Descending ? score > stored : score < stored) {
            InsertAt(i, nameCp1254, score);
            return true;
        }
    }
    if (Count >= kTopEntries)
        return false;
    InsertAt(Count, nameCp1254, score);
    return true;
}

void TTopList::InsertAt(int k, const QByteArray& nameCp1254, int32_t score)
{
    std::copy_backward(Entries.begin() + k, Entries.end() - 1, Entries.end());
    TTopEntry& e = Entries[size_t(k)];
    e.Score = score;
    e.Name.fill('\0');
    const auto length = std::min<qsizetype>(nameCp1254.size(), kTopNameChars);
    std::memcpy(e.Name.data(), nameCp1254.constData(), size_t(length));
    if (Count < kTopEntries)
        ++Count;
    if (LastInserted == -1 || LastInserted > k)
        LastInserted = k;
    // The marks move down with their entries; the one pushed past the tenth place is gone.
    const unsigned above = NewEntries & ((1u << k) - 1u);
    const unsigned below = (unsigned(NewEntries) >> k) << (k + 1);
    NewEntries = uint16_t((above | below | (1u << k)) & ((1u << kTopEntries) - 1u));
}

QList<int> TTopList::NewIndices() const
{
    QList<int> indices;
    for (int i = 0; i < Count; ++i)
        if (NewEntries & (1u << i))
            indices.append(i);
    return indices;
}

QString TTopList::ItemText(int i) const
{
    const TTopEntry& e = Entries[size_t(i)];
    return RecordText(e.Name.data(), int(e.Name.size())) + QStringLiteral("   ") +
           QString::number(e.Score);
}

QByteArray TTopList::Encode() const
{
    QByteArray bytes(kTopListBytes, '\0');
    char* p = bytes.data();
    for (const TTopEntry& e : Entries) {
        const auto u = static_cast<uint32_t>(e.Score);
        for (int b = 0; b < 4; ++b)
            p[b] = static_cast<char>((u >> (8 * b)) & 0xFF);
        std::memcpy(p + 4, e.Name.data(), e.Name.size());
        p += kTopEntryBytes;
    }
    return bytes;
}

void TTopList::Decode(const QByteArray& bytes)
{
    if (bytes.size() != kTopListBytes)
        return;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    for (TTopEntry& e : Entries) {
        uint32_t u = 0;
        for (int b = 0; b < 4; ++b)
            u |= uint32_t(p[b]) << (8 * b);
        e.Score = static_cast<int32_t>(u);
        std::memcpy(e.Name.data(), p + 4, e.Name.size());
        p += kTopEntryBytes;
    }
}

// ---- The four lists in the store ----

TTopLists::TTopLists()
{
    for (int n = 0; n < kTopListCount; ++n)
        Lists[size_t(n)].Descending = n == 0 || n == 2;
}

void TTopLists::Load()
{
    for (int n = 0; n < kTopListCount; ++n) {
        TTopList& list = Lists[size_t(n)];
        const int count = ReadRegInteger(kRegKey, RegListName(kRegTopListsCount, n), kDefTopListsCount);
        list.Count = std::clamp(count, 0, kTopEntries);
        QByteArray block(kTopListBytes, '\0');
        if (ReadRegBinary(kRegKey, RegListName(kRegTopListsScores, n), block.data(), kTopListBytes))
            list.Decode(block);
    }
}

void TTopLists::Save() const
{
    for (int n = 0; n < kTopListCount; ++n) {
        const TTopList& list = Lists[size_t(n)];
        WriteRegInteger(kRegKey, RegListName(kRegTopListsCount, n), list.Count);
        const QByteArray block = list.Encode();
        WriteRegBinary(kRegKey, RegListName(kRegTopListsScores, n), block.constData(), kTopListBytes);
    }
}

int TTopLists::OfferPlayer(const QString& name, int total, int penaltyTotal, int trumpTotal)
{
    if (name.isEmpty())
        return 0;
    Load();
    const QByteArray bytes = ToCp1254(name);
    int entries = 0;
    entries += Lists[0].Insert(bytes, total) ? 1 : 0;
    entries += Lists[1].Insert(bytes, total) ? 1 : 0;
    entries += Lists[2].Insert(bytes, trumpTotal) ? 1 : 0;
    entries += Lists[3].Insert(bytes, penaltyTotal) ? 1 : 0;
    Save();
    return entries;
}

void TTopLists::ForgetLastInserted()
{
    for (TTopList& list : Lists) {
        list.LastInserted = -1;
        list.NewEntries = 0;
    }
}

// ---- The list box ----

TTopListBox::TTopListBox(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setLineWidth(2);
    setEnabled(false);
    setFocusPolicy(Qt::NoFocus);
}

void TTopListBox::SetItems(const QStringList& items, const QList<int>& redIndices)
{
    items_ = items;
    red_ = redIndices;
    update();
}

int TTopListBox::ItemHeight(int boxHeight, int i)
{
    const float x = float(boxHeight) * 0.05f;
    return int(x + x * 2.0f * float(9 - i) / 9.0f);
}

void TTopListBox::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter p(this);
    const QRect client = contentsRect();
    p.fillRect(client, kBackground);
    p.setClipRect(client);
    p.translate(client.topLeft());

    int top = 0;
    for (int i = 0; i < items_.size() && top < client.height(); ++i) {
        const int h = ItemHeight(height(), std::min(i, kTopEntries - 1));
        // The font's whole cell (ascent and descent) is as tall as the item.
        QFont font(QStringLiteral("Times New Roman"));
        font.setBold(true);
        font.setItalic(true);
        int pixels = std::max(h, 1);
        font.setPixelSize(pixels);
        while (pixels > 1 && QFontMetrics(font).height() > h)
            font.setPixelSize(--pixels);
        p.setFont(font);
        p.setPen(red_.contains(i) ? QColor(Qt::red) : QColor(0, 0, 128));
        const int textWidth = QFontMetrics(font).horizontalAdvance(items_[i]);
        const int left = width() / 2 - textWidth / 2;
        p.drawText(left, top + QFontMetrics(font).ascent(), items_[i]);
        top += h;
    }
}

// ---- The window ----

namespace {

// The 24 x 22 pictures beside the captions: a cup for the best totals, a star for the
// best trumps, a falling arrow for the worst.
void DrawCaptionPicture(QPainter& p, int list)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 60, 0), 1));
    if (list == 0) {
        p.setBrush(QColor(240, 190, 30));
        QPainterPath cup;
        cup.moveTo(6, 2);
        cup.lineTo(18, 2);
        cup.quadTo(18, 12, 12, 13);
        cup.quadTo(6, 12, 6, 2);
        p.drawPath(cup);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(2, 3, 6, 6), 90 * 16, 180 * 16);
        p.drawArc(QRectF(16, 3, 6, 6), 270 * 16, 180 * 16);
        p.setBrush(QColor(240, 190, 30));
        p.drawRect(QRectF(11, 13, 2, 4));
        p.drawRect(QRectF(7, 17, 10, 3));
    } else if (list == 2) {
        p.setBrush(QColor(250, 200, 20));
        QPolygonF star;
        for (int k = 0; k < 10; ++k) {
            const double r = k % 2 == 0 ? 10.0 : 4.2;
            const double a = -M_PI / 2 + k * M_PI / 5;
            star << QPointF(12 + r * std::cos(a), 11.5 + r * std::sin(a));
        }
        p.drawPolygon(star);
    } else {
        p.setPen(QPen(QColor(110, 0, 0), 1));
        p.setBrush(QColor(220, 40, 30));
        const QPointF arrow[] = {{9, 1}, {15, 1}, {15, 11}, {20, 11}, {12, 21}, {4, 11}, {9, 11}};
        p.drawPolygon(arrow, 7);
    }
}

} // namespace

THighForm::THighForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(tr("En'ler Listesi"));
    setFont(ArialPixels(11));
    setFixedSize(kClientWidth, kClientHeight);

    static const char* const kCaptions[kTopListCount] = {
        QT_TR_NOOP("Toplamda en iyiler"), QT_TR_NOOP("Toplamda en kötüler"), QT_TR_NOOP("Kozda en iyiler"),
        QT_TR_NOOP("Cezada en kötüler")};
    QFont captionFont = ArialPixels(16, true);
    for (int n = 0; n < kTopListCount; ++n) {
        const int left = n % 2 == 0 ? 8 : 217;
        const int top = n < 2 ? 4 : 220;
        auto* picture = new QLabel(this);
        picture->setPixmap(DrawnPixmap(QSize(24, 22), PictureRatio(nullptr),
                                       [n](QPainter& p) { DrawCaptionPicture(p, n); }));
        picture->setGeometry(left, top, 24, 22);
        QLabel* caption = new QLabel(tr(kCaptions[n]), this);
        caption->setFont(captionFont);
        QPalette pal = caption->palette();
        pal.setColor(QPalette::WindowText, Qt::blue);
        caption->setPalette(pal);
        caption->setGeometry(left + 28, top, kBoxWidth - 28, 22);
        captions_[size_t(n)] = caption;
        auto* box = new TTopListBox(this);
        box->setGeometry(left, top + 24, kBoxWidth, kBoxHeight);
        boxes_[size_t(n)] = box;
    }
    ListBoxTotalBest = boxes_[0];
    ListBoxTotalWorst = boxes_[1];
    ListBoxTrumpBest = boxes_[2];
    ListBoxPenaltyWorst = boxes_[3];
    ListBoxTotalBest->setObjectName(QStringLiteral("ListBoxTotalBest"));
    ListBoxTotalWorst->setObjectName(QStringLiteral("ListBoxTotalWorst"));
    ListBoxTrumpBest->setObjectName(QStringLiteral("ListBoxTrumpBest"));
    ListBoxPenaltyWorst->setObjectName(QStringLiteral("ListBoxPenaltyWorst"));
}

int THighForm::OfferGame(const TGameInfo& g)
{
    int sum = 0;
    for (int p = 0; p < kSeatCount; ++p) {
        const TSeatTotals& t = g.Score.Totals[p];
        sum += lists_.OfferPlayer(RecordText(g.PlayerName[p], int(kNameSize)), t.Total,
                                  t.PenaltyTotal, t.TrumpTotal);
    }
    if (sum != 0) {
        if (isVisible()) {
            raise();
            activateWindow();
        } else {
            open();
        }
    }
    lists_.ForgetLastInserted();
    return sum;
}

void THighForm::ShowLists()
{
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    setWindowModality(Qt::NonModal); // after a game it opened window-modal
    show();
}

void THighForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A window restored by the system is not a new showing.
    if (!event->spontaneous())
        Fill();
}

void THighForm::Fill()
{
    lists_.Load();
    for (int n = 0; n < kTopListCount; ++n) {
        const TTopList& list = lists_.Lists[size_t(n)];
        QStringList items;
        for (int i = 0; i < list.Count; ++i)
            items << list.ItemText(i);
        boxes_[size_t(n)]->SetItems(items, list.NewIndices());
    }
}
