// Feeds arbitrary bytes to the .vow readers: File Open's and the batch conversion's.
#include "doc/BatchConvert.h"
#include "doc/TundrelDoc.h"
#include "doc/VowArchive.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    CTundrelDoc doc;
    VowReader reader(bytes);
    if (doc.LoadFrom(reader).Ok()) {
        // Whatever was read must survive a save and a reopen unchanged.
        const std::string saved = doc.StoreToBytes();
        CTundrelDoc again;
        VowReader savedReader(saved);
        if (!again.LoadFrom(savedReader).Ok() || again.StoreToBytes() != saved)
            std::abort();
    }

    std::string lines[kBatchOutputCount];
    VowReader batchReader(bytes);
    ConvertDocument(batchReader, doc, lines);
    for (const std::string& line : lines)
        if (line.empty() || line.back() != '\n')
            std::abort();
    return 0;
}
