// Any bytes as a name file: each name comes from inside its own record, and once a record
// breaks off every later entry gets no name.
#include "savedsearch/records.h"

#include <cstdlib>
#include <cstring>

using namespace savedsearch;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    size_t count = data[0];  // the number of lines the link file would have
    ByteView file(data + 1, size - 1);

    auto names = ReadNameRecords(file, count);
    if (names.size() != count) abort();

    RecordReader reader(file);
    Bytes again;
    bool broken = false;
    for (size_t i = 0; i < count; ++i) {
        ByteView payload;
        if (!broken && reader.Next(payload) != RecordStatus::Ok) broken = true;
        if (broken) {
            if (!names[i].empty()) abort();
            continue;
        }
        if (names[i].size() != payload.size() || std::memcmp(names[i].data(), payload.data(), payload.size()) != 0)
            abort();
        AppendNameRecord(again, names[i]);
    }
    if (again.size() != reader.Offset() ||
        (!again.empty() && std::memcmp(again.data(), file.data(), again.size()) != 0))
        abort();
    return 0;
}
