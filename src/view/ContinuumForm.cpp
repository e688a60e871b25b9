#include "view/ContinuumForm.h"

#include "view/SoundFormatFields.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>

namespace {

constexpr std::array<FormantScale, 3> kScales = {FormantScale::Bark, FormantScale::Hz,
                                                 FormantScale::Erb};
constexpr const char* kScaleNames[] = {"Bark", "Hz", "ERB"};

std::vector<std::string> Names(const std::vector<ContinuumPoint>& points) {
    std::vector<std::string> names;
    for (const ContinuumPoint& point : points)
        names.push_back(point.name);
    return names;
}

std::string HzText(int hz) {
    return hz > 0 ? std::to_string(hz) : std::string();
}

// The typed F1 or F2 in whole Hz; false when it is not a number.
bool ReadTypedHz(const std::string& text, int& hz) {
    double value = 0;
    if (!ReadFormNumber(text, value) || std::fabs(value) > 1e9)
        return false;
    hz = static_cast<int>(std::lround(value));
    return true;
}

const ContinuumPoint* Chosen(const std::vector<ContinuumPoint>& points, int index) {
    return index >= 0 && static_cast<size_t>(index) < points.size()
               ? &points[static_cast<size_t>(index)]
               : nullptr;
}

} // namespace

InputForm ContinuumForm(const std::vector<ContinuumPoint>& starts,
                        const std::vector<ContinuumPoint>& ends, const ContinuumRequest& shown,
                        int typedF1, int typedF2) {
    InputForm form;
    form.title = "Make Continuum";
    std::vector<std::string> endNames = Names(ends);
    endNames.insert(endNames.begin(), "F1 and F2 typed below");
    const int scale =
        static_cast<int>(std::find(kScales.begin(), kScales.end(), shown.scale) - kScales.begin());
    form.fields = {ChoiceField("From", Names(starts)),
                   ChoiceField("To", endNames, ends.empty() ? 0 : 1),
                   TextField("Typed F1 (Hz)", HzText(typedF1)),
                   TextField("Typed F2 (Hz)", HzText(typedF2)),
                   TextField("Steps (2 - 100)", std::to_string(shown.steps)),
                   ChoiceField("Scale", {std::begin(kScaleNames), std::end(kScaleNames)},
                               scale % static_cast<int>(kScales.size())),
                   FolderField("Folder", shown.folder),
                   TextField("File prefix", shown.prefix)};
    // The typed end point counts only while "typed below" is chosen.
    for (int typed : {kContinuumF1, kContinuumF2}) {
        form.fields[static_cast<size_t>(typed)].enabledByField = kContinuumTo;
        form.fields[static_cast<size_t>(typed)].enabledByChoice = 0;
    }
    AddSoundFormatFields(form, shown.format, shown.level);
    return form;
}

std::string ReadContinuumForm(const InputForm& form, const std::vector<ContinuumPoint>& starts,
                              const std::vector<ContinuumPoint>& ends, int typedF3,
                              ContinuumRequest& request) {
    ContinuumRequest read = request;
    const ContinuumPoint* from = Chosen(starts, form.fields.at(kContinuumFrom).chosen);
    if (!from)
        return "Choose the point the continuum starts at.";
    read.from = from->formants;
    const int to = form.fields.at(kContinuumTo).chosen;
    if (to == 0) {
        if (!ReadTypedHz(form.fields.at(kContinuumF1).text, read.to.f1) ||
            !ReadTypedHz(form.fields.at(kContinuumF2).text, read.to.f2))
            return "Type F1 and F2 of the point the continuum ends at, in Hz.";
        read.to.f3 = typedF3;
    } else if (const ContinuumPoint* end = Chosen(ends, to - 1)) {
        read.to = end->formants;
    } else {
        return "Choose the point the continuum ends at.";
    }
    unsigned long long steps = 0;
    if (!ReadFormWholeNumber(form.fields.at(kContinuumSteps).text, steps) ||
        steps < kFewestContinuumSteps || steps > kMostContinuumSteps)
        return "The number of steps must be a whole number from 2 to 100.";
    read.steps = static_cast<int>(steps);
    const int scale =
        std::clamp(form.fields.at(kContinuumScale).chosen, 0, static_cast<int>(kScales.size()) - 1);
    read.scale = kScales[static_cast<size_t>(scale)];
    read.folder = form.fields.at(kContinuumFolder).text;
    if (!IsBlankText(read.folder)) {
        std::error_code error;
        std::filesystem::path absolute =
            std::filesystem::absolute(read.folder, error).lexically_normal();
        if (!absolute.has_filename() && absolute != absolute.root_path())
            absolute = absolute.parent_path(); // no separator at the end
        if (!error)
            read.folder = absolute.string();
    } else {
        read.folder.clear();
    }
    read.prefix = form.fields.at(kContinuumPrefix).text;
    read.format = SoundFormatOfFields(form, kContinuumRate);
    if (std::string problem = SoundLevelOfFields(form, kContinuumRate, read.level);
        !problem.empty())
        return problem;
    if (std::string problem = CheckContinuumValues(read); !problem.empty())
        return problem;
    request = read;
    return "";
}
