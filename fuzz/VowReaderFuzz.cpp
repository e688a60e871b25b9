// Feeds arbitrary bytes to the .vow readers: File Open's and the batch conversion's.
#include "base/MessageBox.h"
#include "doc/BatchConvert.h"
#include "doc/TundrelDoc.h"
#include "doc/VowArchive.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// Swallows the "Achtung" notices of the old formats.
class SilentSink : public IMessageSink {
public:
    MsgAnswer Show(const MessageRequest&) override { return MsgAnswer::Ok; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static SilentSink sink;
    SetMessageSink(&sink);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    CTundrelDoc doc;
    VowReader reader(bytes);
    if (doc.LoadFrom(reader) == VowReadResult::Complete) {
        // Whatever was read must survive a save and a reopen unchanged.
        const std::string saved = doc.StoreToBytes();
        CTundrelDoc again;
        VowReader savedReader(saved);
        if (again.LoadFrom(savedReader) != VowReadResult::Complete || again.StoreToBytes() != saved)
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
