// quirnel-cli export, batch and new: the document commands on the command line.
#include "Cli.h"

#include "base/Report.h"
#include "doc/BatchConvert.h"
#include "doc/TundrelDoc.h"

#include <cstdio>
#include <filesystem>

namespace {

// export DOC.vow OUT: reads the document as File Open does and writes OUT by its
// extension as Save As does.
int ExportCommand(const std::vector<std::string>& arguments) {
    CliOptions options;
    if (!options.Parse(arguments, {}))
        return kCliBadArguments;
    const std::vector<std::string>& args = options.Positional();
    if (args.size() != 2) {
        CliError("export needs a document and an output file");
        return kCliBadArguments;
    }
    const std::string& output = args[1];
    if (CTundrelDoc::SaveAsKindOf(output) == SaveAsKind::Unknown) {
        CliError("cannot tell what to write to \"" + output +
                 "\": the extension must be .vow, .txt or .vtb (lower case)");
        return kCliBadArguments;
    }
    CTundrelDoc doc;
    const Report opened = doc.OnOpenDocument(args[0]);
    ShowReport(opened);
    if (!opened.Ok())
        return kCliFailed;
    const Report written = doc.SaveAsChosenFile(output);
    ShowReport(written);
    return written.Ok() ? kCliOk : kCliFailed;
}

// batch FOLDER: converts every .vow document of the folder into the four tables.
int BatchCommand(const std::vector<std::string>& arguments) {
    CliOptions options;
    if (!options.Parse(arguments, {}))
        return kCliBadArguments;
    const std::vector<std::string>& args = options.Positional();
    if (args.size() != 1) {
        CliError("batch needs one folder");
        return kCliBadArguments;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(args[0], error)) {
        CliError("\"" + args[0] + "\" is not a folder");
        return kCliBadArguments;
    }
    const CTundrelDoc symbols;
    // The window's closing message is German; here nothing is said when all went well.
    const BatchResult result = BatchConvertFolder(args[0], symbols, false);
    ShowReport(result.report);
    switch (result.outcome) {
    case BatchOutcome::Converted:
        return kCliOk;
    case BatchOutcome::NoDocuments:
        CliError("no .vow documents in \"" + args[0] + "\"; nothing converted");
        return kCliOk;
    case BatchOutcome::Failed:
        break;
    }
    return kCliFailed;
}

// new OUT.vow: writes a document holding only the presets.
int NewCommand(const std::vector<std::string>& arguments) {
    CliOptions options;
    if (!options.Parse(arguments, {}))
        return kCliBadArguments;
    const std::vector<std::string>& args = options.Positional();
    if (args.size() != 1 || CTundrelDoc::SaveAsKindOf(args[0]) != SaveAsKind::Document) {
        CliError("new needs one output file ending in .vow");
        return kCliBadArguments;
    }
    CTundrelDoc doc;
    const Report saved = doc.OnSaveDocument(args[0]);
    ShowReport(saved);
    return saved.Ok() ? kCliOk : kCliFailed;
}

CliRegistrar
    exportReg("export",
              "  export DOC.vow OUT         write a document (format 1.1, 0.0 or 1.0) to OUT:\n"
              "                             OUT.vow document, OUT.txt text, OUT.vtb vowel table",
              &ExportCommand);
CliRegistrar
    batchReg("batch",
             "  batch FOLDER               convert every .vow document in FOLDER into the\n"
             "                             four All*.txt tables there",
             &BatchCommand);
CliRegistrar newReg("new", "  new OUT.vow                write a document holding only the presets",
                    &NewCommand);

} // namespace
