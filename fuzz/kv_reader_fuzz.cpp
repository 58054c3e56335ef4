// Feeds arbitrary bytes to the .kv reader. A file that reads must write back as exactly the bytes
// that were read (the input without its trailing bytes); a refused one must leave the data set
// it was read into untouched.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "history/kv_file.h"
#include "history/record_set.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velorin;
    RecordSet set;
    set.records.resize(1);
    set.recordCount = 1;
    set.records[0].value[7] = 8.0f;
    const std::string before = SerializeKv(set);

    const KvReadResult r = ReadKvBytes(data, size, set);
    if (!r.ok()) {
        if (r.detail.empty() || set.records.size() != 1 || set.records[0].value[7] != 8.0f ||
            SerializeKv(set) != before) {
            std::abort();  // a refused read changed the data set or gave no reason
        }
        return 0;
    }
    if (r.trailingBytes > size) std::abort();
    const size_t used = size - static_cast<size_t>(r.trailingBytes);
    const std::string again = SerializeKv(set);
    if (again.size() != used || KvFileSize(set) != used || (used > 0 && std::memcmp(again.data(), data, used) != 0)) {
        std::abort();  // not a faithful round trip
    }
    if (set.records.size() != static_cast<size_t>(set.recordCount)) std::abort();
    for (const SampleRecord& rec : set.records) {
        if (rec.value[6] != 0.0f || rec.value[7] != 0.0f) std::abort();
    }
    return 0;
}
