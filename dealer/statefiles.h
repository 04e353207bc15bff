// Where a server keeps its tables between runs: one state file per table in a folder
// ("<code>.table", see tablestate.h) and the default table's "LastHand.rvo", all written
// off the tables' threads by one TFileKeeper. Any thread may call it.
//
//   TStateFiles files(folder);
//   const std::vector<TTableState> kept = files.ReadAll(); // what the last run left
//   options.Table.Store = &files;                          // every table keeps its state here
#pragma once

#include <vector>

#include <QString>

#include "filekeeper.h"
#include "tablestate.h"

class TStateFiles : public TTableStore {
public:
    explicit TStateFiles(const QString& folder);

    // The states of the folder that pass every check. A file that fails one is set aside
    // as "<name>.refused" and named in the log with the reason.
    std::vector<TTableState> ReadAll() const;

    void Keep(const TTableState& state) override;
    void Forget(const QString& code) override;        // its file is removed
    // Writes the record as "LastHand.rvo" into folder (or the data folder, see gamefiles.h).
    void KeepLastHand(const QString& folder, const TGameInfo& g);

    TFileKeeper& Keeper() { return keeper_; }
    const QString& Folder() const { return folder_; }

private:
    QString folder_;
    TFileKeeper keeper_;
};
