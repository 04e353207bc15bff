#include "tabledirectory.h"

#include <algorithm>

namespace {
constexpr qint64 kHourMs = 3600 * 1000;
}

TTableDirectory::TTableDirectory(int houses, const TTableBudgets& budgets)
    : budgets_(budgets)
{
    perHouse_.fill(0, std::max(houses, 1));
}

TTableDirectory::TPlace TTableDirectory::Reserve(const QString& address, qint64 nowMs)
{
    std::lock_guard guard(lock_);
    TPlace place;
    if (tables_.size() >= budgets_.MaxTables) {
        place.Refusal = QStringLiteral("Sunucuda yeni masaya yer yok.");
        return place;
    }
    TAddress& from = addresses_[address];
    while (!from.Created.empty() && from.Created.front() <= nowMs - kHourMs)
        from.Created.pop_front();
    if (from.Live >= budgets_.MaxTablesPerAddress || int(from.Created.size()) >= budgets_.MaxCreatesPerHour) {
        place.Refusal = QStringLiteral("Bu adresten açılabilecek masa sayısı doldu.");
        if (from.Live == 0 && from.Created.empty())
            addresses_.remove(address);
        return place;
    }
    do
        place.Code = NewTableCode();
    while (tables_.contains(place.Code));
    place.House = int(std::min_element(perHouse_.begin(), perHouse_.end()) - perHouse_.begin());
    ++from.Live;
    from.Created.push_back(nowMs);
    TEntry& entry = tables_[place.Code];
    entry.House = place.House;
    entry.Creator = address;
    entry.Listing.Code = place.Code;
    ++perHouse_[place.House];
    return place;
}

void TTableDirectory::Add(const QByteArray& code, int house, const TTableListing& listing)
{
    std::lock_guard guard(lock_);
    if (tables_.contains(code) || house < 0 || house >= perHouse_.size())
        return;
    tables_.insert(code, {house, QString(), listing});
    ++perHouse_[house];
}

void TTableDirectory::Update(const TTableListing& listing)
{
    std::lock_guard guard(lock_);
    const auto it = tables_.find(listing.Code);
    if (it != tables_.end())
        it->Listing = listing;
}

void TTableDirectory::Remove(const QByteArray& code)
{
    std::lock_guard guard(lock_);
    const auto it = tables_.find(code);
    if (it == tables_.end())
        return;
    --perHouse_[it->House];
    if (!it->Creator.isEmpty()) {
        const auto from = addresses_.find(it->Creator);
        if (from != addresses_.end() && --from->Live <= 0 && from->Created.empty())
            addresses_.erase(from);
    }
    tables_.erase(it);
}

int TTableDirectory::HouseOf(const QByteArray& code) const
{
    std::lock_guard guard(lock_);
    const auto it = tables_.constFind(code);
    return it == tables_.constEnd() ? -1 : it->House;
}

int TTableDirectory::Count() const
{
    std::lock_guard guard(lock_);
    return int(tables_.size());
}

void TTableDirectory::SetDefaultCode(const QByteArray& code)
{
    std::lock_guard guard(lock_);
    defaultCode_ = code;
}

QByteArray TTableDirectory::DefaultCode() const
{
    std::lock_guard guard(lock_);
    return defaultCode_;
}

QList<TTableListing> TTableDirectory::List() const
{
    QList<TTableListing> open, full;
    {
        std::lock_guard guard(lock_);
        for (const TEntry& entry : tables_) {
            const TTableListing& t = entry.Listing;
            const int taken = int(std::count_if(t.Seats.begin(), t.Seats.end(), [](const QByteArray& s) { return !s.isEmpty(); }));
            if (t.Settings.Flags & TTableSettings::kDefault)
                open.prepend(t);
            else if (taken == 0)
                continue;
            else if (taken < kSeatCount && !(t.Settings.Flags & TTableSettings::kLocked))
                open.append(t);
            else
                full.append(t);
        }
    }
    return open + full;
}

QByteArray TTableDirectory::ListPayload(qint64 nowMs)
{
    std::lock_guard guard(listLock_);
    if (listMadeMs_ < 0 || nowMs - listMadeMs_ >= 1000 || nowMs < listMadeMs_) {
        listPayload_ = TableListPayload(List());
        listMadeMs_ = nowMs;
    }
    return listPayload_;
}
