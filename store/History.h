#pragma once

#include "store/ClipRecord.h"
#include "store/ItemText.h"
#include "store/SqlException.h"
#include "store/StoreHost.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The one way into the history for the rest of the program: every read and change of table Log
// on the process-wide connection. Results are decoded plain values. Every function throws
// SqlException when a statement fails; the caller shows it in its own way.
namespace history {

// The id of a row that has none (NULL): the lists leave such a row out. A real id of -1 reads the same.
inline constexpr int kNoRecord = -1;

// One row of a list: the selection list's page or the tray menu's recent items.
struct ListEntry {
    int id = 0;
    std::string caption;  // Name, in the ANSI code page
    int type = PlainText;
    // The caption in UTF-8 from the side table; none when the row has no readable side row.
    std::optional<std::string> unicodeCaption;
};

// The blocks that put a record back on the clipboard. data is read only for types that have one.
struct ClipBlocks {
    int type = PlainText;
    std::optional<std::string> text;
    std::optional<std::string> data;
    std::optional<std::string> locale;
};

// What the preview tooltip shows of one record.
struct PreviewFields {
    int id = 0;
    std::uint32_t dtime = 0;
    int type = PlainText;
    std::optional<std::string> sourceName;
    std::optional<std::string> sourceTitle;
    std::optional<std::string> text;
    std::optional<std::string> data;
    // Text, source name and title in UTF-8 from the side table, when it has the row.
    std::optional<ItemText> unicode;
};

// The record next to another one, for stepping through the history. Only the block the
// balloon shows is decoded: data for Unicode items, text (cut at its first zero) for all others.
struct Neighbour {
    int id = 0;
    int type = PlainText;
    std::string text;
    std::optional<std::string> data;
    // The text in UTF-8 from the side table, when it has the row.
    std::optional<std::string> unicodeText;
};

// The newest row as the duplicate check compares it.
struct NewestRow {
    int type = PlainText;
    std::optional<std::string> text;
    std::optional<std::string> data;
};

enum class Direction { Older, Newer };

// Closes the file held, opens (creating when needed) dbPath and loads nextId; failures show the
// Error #1 box and throw nothing. The side table LogText is made or brought in step with Log
// (host.showBuildProgress tells how far when that takes a while). Returns the id the newest item is taken to have (nextId - 1),
// for lastId. Used at start-up and when the user switches or moves the file.
int open(const std::string& dbPath, const std::string& configFolder, StoreHost& host);
// One short step (tens of milliseconds) of making the side rows that open left for later (see
// StoreHost::makeTextsLater), in ascending ids above `after`, which moves up. False when none is
// left. Throws SqlException.
bool makeMissingTexts(std::int64_t& after, StoreHost& host);
// Lets go of the file, e.g. before it is deleted.
void close();
// Gives back the memory the connection keeps of the pages it last read or wrote.
void releaseMemory();

// Takes the id for a record about to be added: a failed insert still uses its id up.
int claimNextId();

// A record in the forms its row holds, with its side row's texts. A capture waiting for a
// locked file keeps its blocks once, encoded, and not also as they were copied.
struct StoredRow {
    int id = 0;
    std::uint32_t dtime = 0;
    int type = PlainText;
    std::string name, sourceName, sourceTitle, locale, text, data;
    ItemText side;
};
// Encodes the record, letting go of each captured block as soon as it is encoded.
StoredRow storedRow(ClipRecord record);
// Inserts the row under row.id (from claimNextId), with its side row (texts in UTF-8).
void add(const StoredRow& row);
// The same for a record at hand.
void add(const ClipRecord& record);

// How long a statement waits for another program's lock on the file before it fails busy:
// short while the program runs, so that its window always answers (captures wait in memory
// instead); long at exit, the last chance to write what waits.
inline constexpr int kShortLockWaitMs = 250;
inline constexpr int kLongLockWaitMs = 60000;
void setLockWait(int milliseconds);
// True for a failure that only says another program holds the file for now.
bool isBusy(const SqlException& failure);

// Rows of the list, newest first, from the offset-th newest on.
std::vector<ListEntry> page(int offset, int count);
std::vector<ListEntry> recent(int count);
int count();

// The Find box: items whose caption, text, source name or window title hold every word of
// `typed` (UTF-8; words split at blanks; case folded by the side table's trigram index). Words
// of one or two characters are looked for in captions and titles only, folding ASCII letters
// only. Whatever is typed is searched as text. A blank `typed` finds every item (count, page).
// Items whose side rows open left for later are found once they are made.
int findCount(const std::string& typed);
// Matches newest first, from the offset-th newest on, as page gives them.
std::vector<ListEntry> findPage(const std::string& typed, int offset, int count);

std::optional<ClipBlocks> clipBlocks(int id);
std::optional<PreviewFields> preview(int id);
std::optional<Neighbour> neighbour(int id, Direction direction);
std::optional<NewestRow> newest();
// The largest id in the history; absent when it is empty.
std::optional<int> newestId();

void remove(int id);
void removeAll();
// Gives the space of removed rows back to the file system (VACUUM).
void compact();

}  // namespace history
