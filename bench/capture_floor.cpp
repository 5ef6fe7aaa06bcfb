// The floor of a text capture, run under Wine beside the real capture: copying the clip's bytes
// out and inserting its blocks, already encoded, with a bare prepared statement into a scratch
// database. Nothing of the program's own work is in it.
//   capture_floor SIZE FOLDER   prints the median milliseconds of five runs
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/BenchTiming.h"
#include "store/StoredValue.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: capture_floor SIZE FOLDER\n");
        return 2;
    }
    const std::size_t size = std::strtoull(argv[1], nullptr, 10);
    // What a text capture stores: the ANSI text and its Unicode form, twice the size.
    std::string clip(size, 'a');
    for (std::size_t i = 0; i < size; ++i) clip[i] = static_cast<char>('a' + i % 23);
    clip.back() = '\0';
    std::string unicode(2 * size, '\0');
    for (std::size_t i = 0; i < size; ++i) unicode[2 * i] = clip[i];
    const std::string text = storedForm(clip.data(), clip.size()), data = storedForm(unicode.data(), unicode.size());

    const std::string path = std::string(argv[2]) + "\\floor.sql";
    std::remove(path.c_str());
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, "CREATE TABLE t(a BLOB, b BLOB);", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO t VALUES (?,?);", -1, &insert, nullptr);
    std::string copy(size, '\0');
    const double seconds = bench::medianOf(5, [&] {
        std::memcpy(copy.data(), clip.data(), size);
        sqlite3_bind_text64(insert, 1, text.data(), text.size(), SQLITE_STATIC, SQLITE_UTF8);
        sqlite3_bind_text64(insert, 2, data.data(), data.size(), SQLITE_STATIC, SQLITE_UTF8);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    });
    sqlite3_finalize(insert);
    sqlite3_close(db);
    std::remove(path.c_str());
    std::printf("%.3f\n", seconds * 1000);
    return copy[0] == clip[0] ? 0 : 1;
}
