// The best and worst lists ("En'ler Listesi"): four ranked lists of at most ten results,
// kept in the settings store and shared by every copy of the program on the machine.
//
//   0 best grand totals (highest first)     1 worst grand totals (lowest first)
//   2 best trump totals (highest first)     3 worst penalty totals (lowest first)
//
// The lists are read from the store before every use and written back after every change;
// only the index of the entry a game has just added (shown in red) lives in memory alone.
#pragma once

#include "gameinfo.h"

#include <QDialog>
#include <QFrame>
#include <QList>
#include <QStringList>

#include <array>
#include <cstdint>

class QLabel;

// One stored result: 24 bytes, a little-endian 32-bit score and a zero-terminated code
// page 1254 name of at most 19 characters.
struct TTopEntry {
    int32_t Score = 0;
    std::array<char, 20> Name{};
};

inline constexpr int kTopListCount = 4;
inline constexpr int kTopEntries = 10;
inline constexpr int kTopEntryBytes = 24;
inline constexpr int kTopListBytes = kTopEntries * kTopEntryBytes; // 240
inline constexpr int kTopNameChars = 19;

struct TTopList {
    std::array<TTopEntry, kTopEntries> Entries{};
    int Count = 0;          // valid entries, 0..10
    bool Descending = true; // a higher score ranks first
    int LastInserted = -1;  // topmost entry added by the current game, -1 when none
    uint16_t NewEntries = 0; // bit i: entry i was added by the current game

    // Offers a result: it enters at the first entry it beats strictly (an equal score goes
    // below); one that beats no entry enters after the last one while the list has free
    // places. Reports whether it entered.
    bool Insert(const QByteArray& nameCp1254, int32_t score);
    // Puts the result at index k; the tenth entry falls out.
    void InsertAt(int k, const QByteArray& nameCp1254, int32_t score);
    // The indices of the entries added by the current game, top first.
    QList<int> NewIndices() const;

    // "name   score" for a valid entry.
    QString ItemText(int i) const;

    // All ten entries in their stored form, and back. Decoding a block of another size
    // leaves the entries as they are.
    QByteArray Encode() const;
    void Decode(const QByteArray& bytes);
};

// The four lists and their trips to the store.
class TTopLists {
public:
    TTopLists();

    void Load(); // a stored count outside 0..10 is brought into that range
    void Save() const;

    // Offers one player's final scores to the four lists (loads, inserts, saves) and
    // returns how many of the insertions reported an entry. An empty name enters nothing
    // and touches nothing.
    int OfferPlayer(const QString& name, int total, int penaltyTotal, int trumpTotal);
    void ForgetLastInserted();

    std::array<TTopList, kTopListCount> Lists;
};

// A list box that draws its items itself: the first item three times as tall as the
// tenth, the text centred, navy, or red for the highlighted items. Takes no input.
class TTopListBox : public QFrame {
    Q_OBJECT
public:
    explicit TTopListBox(QWidget* parent = nullptr);

    void SetItems(const QStringList& items, const QList<int>& redIndices);
    const QStringList& Items() const { return items_; }
    const QList<int>& RedIndices() const { return red_; }

    // Height of item i in a box of the given height: trunc(x + x * 2 * (9 - i) / 9),
    // x = height * 0.05.
    static int ItemHeight(int boxHeight, int i);

    static const QColor kBackground; // RGB (253, 254, 205)

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList items_;
    QList<int> red_;
};

class THighForm : public QDialog {
    Q_OBJECT
public:
    explicit THighForm(QWidget* parent = nullptr);

    // Offers the four players' final scores of a finished game. When any of them entered
    // a list, the window opens with the new entries in red (one already open is only
    // brought to the front). Returns the number of entries made.
    int OfferGame(const TGameInfo& g);

    // The menu command: shows the lists without waiting.
    void ShowLists();

    TTopListBox* ListBox(int list) const { return boxes_[size_t(list)]; }
    QLabel* Caption(int list) const { return captions_[size_t(list)]; }
    const TTopLists& Lists() const { return lists_; }

    TTopListBox* ListBoxTotalBest;
    TTopListBox* ListBoxTotalWorst;
    TTopListBox* ListBoxTrumpBest;
    TTopListBox* ListBoxPenaltyWorst;

    static constexpr int kClientWidth = 418;
    static constexpr int kClientHeight = 433;
    static constexpr int kBoxWidth = 193;
    static constexpr int kBoxHeight = 185;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Fill();

    TTopLists lists_;
    std::array<TTopListBox*, kTopListCount> boxes_{};
    std::array<QLabel*, kTopListCount> captions_{};
};
