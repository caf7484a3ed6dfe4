// Any bytes as a thumbnail file: the reader must stay inside the data, and the records it
// accepts, written again, must give back exactly the bytes they came from.
#include "savedsearch/records.h"

#include <cstdlib>
#include <cstring>

using namespace savedsearch;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    size_t count = data[0];  // the number of lines the link file would have
    ByteView file(data + 1, size - 1);

    auto pictures = ReadThumbnailRecords(file, count);
    if (pictures.size() != count) abort();

    RecordReader reader(file);
    Bytes again;
    for (size_t i = 0; i < count; ++i) {
        ByteView payload;
        RecordStatus st = reader.Next(payload);
        if (st != RecordStatus::Ok) {
            for (size_t j = i; j < count; ++j)
                if (pictures[j]) abort();
            break;
        }
        if (payload.data() < file.data() || payload.data() + payload.size() > file.data() + file.size()) abort();
        if (payload.empty() != !pictures[i]) abort();
        if (pictures[i] && std::memcmp(pictures[i]->data(), payload.data(), payload.size()) != 0) abort();
        if (!payload.empty())
            AppendThumbnailRecord(again, payload);
        else
            again.insert(again.end(), 4, 0);
    }
    if (again.size() != reader.Offset() ||
        (!again.empty() && std::memcmp(again.data(), file.data(), again.size()) != 0))
        abort();
    return 0;
}
