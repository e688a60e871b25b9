// Speed of the batch conversion: a folder of 10,000 format-1.1 documents into the tables.
#include "base/MessageBox.h"
#include "doc/BatchConvert.h"
#include "doc/TundrelDoc.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdlib.h>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kDocumentCount = 10000;

// Swallows the "Fertig" message of every run.
class SilentSink : public IMessageSink {
public:
    MsgAnswer Show(const MessageRequest&) override { return MsgAnswer::Ok; }
};

// A temporary folder of generated documents, half of them with stored positions; made
// once and removed at exit.
class DocumentFolder {
public:
    DocumentFolder() {
        std::string pattern = (fs::temp_directory_path() / "quirnel-bench-docs-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            return;
        m_path = pattern;
        for (int i = 0; i < kDocumentCount; ++i)
            WriteDocument(i);
    }
    ~DocumentFolder() {
        std::error_code ignored;
        if (!m_path.empty())
            fs::remove_all(m_path, ignored);
    }
    const std::string& Path() const { return m_path; }

private:
    void WriteDocument(int index) const {
        CTundrelDoc doc;
        if (index % 2 == 1)
            for (int slot = index % 7; slot < kSlotCount; slot += 3)
                doc.StoreEntry(slot, 200 + index % 500, 900 + slot * 50, 2700, 90, slot % 2,
                               (slot / 2) % 2);
        char name[32];
        std::snprintf(name, sizeof name, "/doc%05d.vow", index);
        const std::string bytes = doc.StoreToBytes();
        std::FILE* file = std::fopen((m_path + name).c_str(), "wb");
        if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
            std::fclose(file) != 0)
            std::abort();
    }

    std::string m_path;
};

void BM_BatchConvert(benchmark::State& state) {
    static DocumentFolder folder;
    SilentSink sink;
    ScopedMessageSink guard(&sink);
    const CTundrelDoc symbols;
    for (auto _ : state) {
        if (BatchConvertFolder(folder.Path(), symbols).outcome != BatchOutcome::Converted)
            state.SkipWithError("the batch conversion failed");
    }
    state.SetItemsProcessed(state.iterations() * kDocumentCount);
}
BENCHMARK(BM_BatchConvert)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
