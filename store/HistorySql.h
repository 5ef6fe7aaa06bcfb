#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Every SQL text run against the history database, kept here once and exactly as the program
// has always run it (mixed case, lower-case "id" in two of them and trailing semicolons
// included). Statements with parameters are printf formats; the functions below fill them.
// Stored values are placed between apostrophes as they are: their stored form holds none.
namespace sql {

// 1. Run with execute when the database is opened; fails when the table exists.
inline constexpr char kCreateLogTable[] =
    "CREATE TABLE Log"
    "(Id int PRIMARY KEY, DTime int, Name char(55),SourceName char(30),SourceTitle char(100), "
    "Locale BLOB, Text  BLOB, Type  int, Data BLOB);";
// 2. queryInt: the largest id; NULL (and so an exception) for an empty table.
inline constexpr char kSelectMaxId[] = "SELECT MAX(id) FROM Log;";
// 3. execute.
inline constexpr char kVacuum[] = "VACUUM;";
// 4. queryInt: number of rows.
inline constexpr char kCountRows[] = "SELECT COUNT(*) FROM Log;";
// 5. query + release; %i = rows to remove (count - limit).
inline constexpr char kTrimOldest[] = "DELETE from Log where Id < (SELECT Id from Log order by Id ASC limit %i,1)";
// 6. query + release.
inline constexpr char kDropLogTable[] = "DROP TABLE Log;";
// 7. query: the newest row, for the duplicate check of the capture.
inline constexpr char kSelectNewest[] = "SELECT Text,Data,Type FROM Log ORDER by Id DESC limit 1";
// 8. execute: Id, DTime, then Name, SourceName, SourceTitle, Locale, Text in stored form, Type, Data.
inline constexpr char kInsertRow[] = "INSERT INTO Log VALUES (%i,%u,'%s','%s','%s','%s','%s',%i,'%s');";
// Statement 8 with its values bound instead of formatted in: the same row, without SQLite
// parsing a text as long as the clip. The values are the same stored forms.
inline constexpr char kInsertBoundRow[] = "INSERT INTO Log VALUES (?,?,?,?,?,?,?,?,?);";
// 9. queryTable; %i,%i = page offset, page size.
inline constexpr char kSelectPage[] = "SELECT Id,Name,Type FROM Log ORDER by Id DESC limit %i,%i";
// 10. query; %i = item id.
inline constexpr char kSelectPreview[] =
    "SELECT DTime,SourceName,SourceTitle,Data,Text,Type,Id FROM Log WHERE Id=%i limit 1";
// 11. queryTable; %i = number of recent items.
inline constexpr char kSelectRecent[] = "SELECT Id,Name,Type FROM Log ORDER by Id DESC limit %i";
// 12. execute; %i = item id.
inline constexpr char kDeleteItem[] = "DELETE FROM Log WHERE id=%i;";
// 13. query; %i = lastId.
inline constexpr char kSelectOlder[] = "SELECT Id,Text,Data,Type FROM Log WHERE Id<%i ORDER by Id DESC limit 1";
// 14. query; %i = lastId.
inline constexpr char kSelectNewer[] = "SELECT Id,Text,Data,Type FROM Log WHERE Id>%i ORDER by Id ASC limit 1";
// 15. query; %i = item id.
inline constexpr char kSelectClipBlocks[] = "SELECT Type,Text,Data,Locale FROM Log WHERE Id=%i limit 1";
// 16. execute.
inline constexpr char kDeleteAll[] = "DELETE FROM Log;";
// query + release, no rows: fails unless table Log has every column of a history table. Run before
// the exit step removes rows, so that a file whose Log belongs to another program keeps it.
inline constexpr char kCheckLogColumns[] =
    "SELECT Id,DTime,Name,SourceName,SourceTitle,Locale,Text,Type,Data FROM Log LIMIT 0;";

// execute when the database is opened; failures are ignored (the index only saves time). The
// list and the tray menu read Id, Name and Type of many rows, and Type follows the Text block in
// a row: without the index each large item's whole overflow chain is read to reach it.
inline constexpr char kCreateListIndex[] = "CREATE INDEX IF NOT EXISTS LogList ON Log(Id,Name,Type);";

// The side table LogText: per record id (rowid = Log.Id) the caption, text, source name and
// title in UTF-8 for display and search, and the capture time that tells a reused id apart.
// Log stays as it is; a program that knows only Log never needs this table. Parameters are bound.
namespace text {
inline constexpr char kCreateTable[] =
    "CREATE VIRTUAL TABLE IF NOT EXISTS LogText USING fts5(Caption, Text, SourceName, SourceTitle, "
    "DTime UNINDEXED, tokenize='trigram');";
inline constexpr char kDropTable[] = "DROP TABLE IF EXISTS LogText;";
// ?1 id, ?2 caption, ?3 text, ?4 source name, ?5 title, ?6 capture time.
inline constexpr char kInsertRow[] =
    "INSERT OR REPLACE INTO LogText(rowid,Caption,Text,SourceName,SourceTitle,DTime) VALUES (?1,?2,?3,?4,?5,?6);";
inline constexpr char kDeleteRow[] = "DELETE FROM LogText WHERE rowid=?1;";
// Before many rows go in: the index merges its segments four times less often (searches
// measured no slower); kept in the file for the rows that follow.
inline constexpr char kMergeLessOften[] = "INSERT INTO LogText(LogText,rank) VALUES('automerge',16);";
// With it: terms pending in memory are written out at 256 KiB instead of 1 MiB. A build runs in
// one long transaction, and under Wine the heap keeps what the larger buffer took after it is
// freed (measured: 1 MiB more private memory after building 20,000 rows; the build no slower).
inline constexpr char kSmallPendingTerms[] = "INSERT INTO LogText(LogText,rank) VALUES('hashsize',262144);";
// After the exit trim, which removes the oldest rows of Log.
inline constexpr char kDeleteOlderThanLog[] = "DELETE FROM LogText WHERE rowid<(SELECT MIN(Id) FROM Log);";
// The same when most rows go: the rows that stay are set aside, the table made anew, and they go
// back in. Removing a row from the index costs about as much as indexing it.
inline constexpr char kSetAsideNewerRows[] =
    "CREATE TEMP TABLE LogTextKept AS SELECT rowid AS Id,Caption,Text,SourceName,SourceTitle,DTime FROM LogText "
    "WHERE rowid>=(SELECT MIN(Id) FROM Log);";
inline constexpr char kPutBackNewerRows[] =
    "INSERT INTO LogText(rowid,Caption,Text,SourceName,SourceTitle,DTime) "
    "SELECT Id,Caption,Text,SourceName,SourceTitle,DTime FROM LogTextKept ORDER BY Id;";
inline constexpr char kDropSetAside[] = "DROP TABLE temp.LogTextKept;";
inline constexpr char kSelectCaption[] = "SELECT Caption FROM LogText WHERE rowid=?1;";
inline constexpr char kSelectItem[] = "SELECT Caption,Text,SourceName,SourceTitle FROM LogText WHERE rowid=?1;";
// Row count, largest id and the newest row's capture time: equal for both tables when in step.
inline constexpr char kLogSignature[] =
    "SELECT COUNT(Id),MAX(Id),(SELECT DTime FROM Log ORDER BY Id DESC LIMIT 1) FROM Log;";
inline constexpr char kTextSignature[] =
    "SELECT COUNT(*),MAX(rowid),(SELECT DTime FROM LogText ORDER BY rowid DESC LIMIT 1) FROM LogText;";
inline constexpr char kLogIds[] = "SELECT Id,DTime FROM Log WHERE Id IS NOT NULL;";
inline constexpr char kTextIds[] = "SELECT rowid,DTime FROM LogText;";
// Log rows without a side row, in ascending ids: ?1 ids above, ?2 at most this many.
inline constexpr char kSelectMissingAfter[] =
    "SELECT Id,DTime FROM Log WHERE Id>?1 AND NOT EXISTS (SELECT 1 FROM LogText WHERE rowid=Log.Id) "
    "ORDER BY Id LIMIT ?2;";
// The columns a side row is made from; ?1 id.
inline constexpr char kSelectLogRow[] =
    "SELECT SourceName,SourceTitle,Locale,Text,Type,Data FROM Log WHERE Id=?1;";
}  // namespace text

// execute after work that read or wrote many pages: gives the page cache's memory back. The
// program is idle nearly all the time; a full cache would only hold memory between copies.
inline constexpr char kReleaseMemory[] = "PRAGMA shrink_memory;";
// execute when the database is opened: a page cache of 128 KiB instead of 2 MiB. The program
// reads a page of the list or one record at a time; only building the side table for a large
// older file reads more, and the memory the cache took then would stay with the process.
inline constexpr char kLimitPageCache[] = "PRAGMA cache_size=-128;";
// execute before the exit trim, kLimitPageCache and kReleaseMemory after: deleting many rows
// rewrites the pages of Log and its index over and over, which a small cache sends to the file
// and back each time (97,000 of 100,000 rows: 0.49 s, 0.31 s with this cache).
inline constexpr char kTrimPageCache[] = "PRAGMA cache_size=-2048;";
// execute while a large row goes in, kLimitPageCache after: its pages are written once and never
// read back, so caching them would only add to the capture's peak memory.
inline constexpr char kWriteThroughCache[] = "PRAGMA cache_size=-64;";

// The Find box's search of the side table, put together from these pieces (see findWhere):
// a MATCH for the words the trigram index can look up, and a scan of captions and titles for
// each shorter word. Every value is bound: the MATCH expression, then each short word's LIKE
// pattern (wildcards escaped with a backslash) twice.
namespace find {
inline constexpr char kMatch[] = "LogText MATCH ?";
// LIKE folds ASCII letters only; other scripts match a short word in the case typed.
inline constexpr char kShortWord[] = "(Caption LIKE ? ESCAPE '\\' OR SourceTitle LIKE ? ESCAPE '\\')";
inline constexpr char kAnd[] = " AND ";
inline constexpr char kCountStart[] = "SELECT COUNT(*) FROM LogText WHERE ";
// The matches' Log rows, newest first; after the conditions: ? page size, ? offset.
inline constexpr char kPageStart[] = "SELECT Id,Name,Type FROM Log WHERE Id IN (SELECT rowid FROM LogText WHERE ";
inline constexpr char kPageEnd[] = " ORDER BY rowid DESC LIMIT ? OFFSET ?) ORDER BY Id DESC;";
}  // namespace find

// Column names of table Log, as the readers ask for them.
namespace column {
inline constexpr char kId[] = "Id";
inline constexpr char kDTime[] = "DTime";
inline constexpr char kName[] = "Name";
inline constexpr char kSourceName[] = "SourceName";
inline constexpr char kSourceTitle[] = "SourceTitle";
inline constexpr char kLocale[] = "Locale";
inline constexpr char kText[] = "Text";
inline constexpr char kType[] = "Type";
inline constexpr char kData[] = "Data";
}  // namespace column

// The conditions of a search: the MATCH when withMatch, then one scan per short word.
std::string findWhere(bool withMatch, std::size_t shortWords);
std::string countMatches(bool withMatch, std::size_t shortWords);
std::string selectMatchPage(bool withMatch, std::size_t shortWords);
std::string trimOldest(int rowsToRemove);
std::string selectPage(int offset, int pageSize);
std::string selectPreview(int id);
std::string selectRecent(int count);
std::string deleteItem(int id);
std::string selectOlder(int lastId);
std::string selectNewer(int lastId);
std::string selectClipBlocks(int id);
// The five texts and the Data block are already in stored form (see store/StoredValue.h).
std::string insertRow(int id, std::uint32_t dtime, const std::string& name, const std::string& sourceName,
                      const std::string& sourceTitle, const std::string& locale, const std::string& text, int type,
                      const std::string& data);

}  // namespace sql
