// Any bytes as a damaged column text and as a block to store: no access outside a buffer, no zero
// byte or apostrophe in a stored form, and every block read back byte for byte.
#include "store/StoredValue.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    readStoredBlock(bytes.substr(0, bytes.find('\0')).c_str());  // as SQLite hands a column text over
    const std::string stored = storedForm(bytes.data(), bytes.size());
    if (stored.find_first_of(std::string("\0'", 2)) != std::string::npos) std::abort();
    if (readStoredBlock(stored.c_str()) != bytes) std::abort();
    return 0;
}
