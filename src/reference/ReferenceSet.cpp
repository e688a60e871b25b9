// The bundled reference vowel sets: one per study and group of speakers, with citations.
#include "reference/ReferenceSet.h"

namespace {

const char* const kPetersonBarney =
    "Peterson, G. E. & Barney, H. L. (1952). Control methods used in a study of the vowels. "
    "Journal of the Acoustical Society of America 24(2), 175–184.";
const char* const kPols = "Pols, L. C. W., Tromp, H. R. C. & Plomp, R. (1973). Frequency "
                          "analysis of Dutch vowels from 50 male speakers. Journal of the "
                          "Acoustical Society of America 53(4), 1093–1101.";
const char* const kVanNierop =
    "van Nierop, D. J. P. J., Pols, L. C. W. & Plomp, R. (1973). Frequency analysis of Dutch "
    "vowels from 25 female speakers. Acustica 29, 110–118.";
const char* const kWeenink =
    "Weenink, D. J. M. (1985). Formant analysis of Dutch vowels from 10 children. Proceedings "
    "of the Institute of Phonetic Sciences, University of Amsterdam 9, 45–52.";

ReferenceSet Set(const char* study, const char* group, const char* author, const char* citation,
                 const char* fullCitation) {
    const std::string id = study;
    return {id + ":" + group, id + ".csv", group, std::string(author) + ": " + group,
            citation,         fullCitation};
}

std::vector<ReferenceSet> MakeSets() {
    const char* const pb = "Peterson & Barney 1952";
    const char* const pbCite = "Peterson & Barney (1952), JASA 24, 175–184: American English";
    const char* const weenink = "Weenink 1985";
    const char* const weeninkCite =
        "Weenink (1985), Proc. Inst. Phonetic Sciences Amsterdam 9, 45–52: Dutch";
    return {
        Set("peterson-barney-1952", "men", pb, pbCite, kPetersonBarney),
        Set("peterson-barney-1952", "women", pb, pbCite, kPetersonBarney),
        Set("peterson-barney-1952", "children", pb, pbCite, kPetersonBarney),
        Set("pols-van-nierop-1973", "men", "Pols et al. 1973",
            "Pols, Tromp & Plomp (1973), JASA 53, 1093–1101: Dutch", kPols),
        Set("pols-van-nierop-1973", "women", "van Nierop et al. 1973",
            "van Nierop, Pols & Plomp (1973), Acustica 29, 110–118: Dutch", kVanNierop),
        Set("weenink-1985", "men", weenink, weeninkCite, kWeenink),
        Set("weenink-1985", "women", weenink, weeninkCite, kWeenink),
        Set("weenink-1985", "children", weenink, weeninkCite, kWeenink),
    };
}

} // namespace

const std::vector<ReferenceSet>& ReferenceSets() {
    static const std::vector<ReferenceSet> sets = MakeSets();
    return sets;
}

const ReferenceSet* FindReferenceSet(std::string_view key) {
    for (const auto& set : ReferenceSets())
        if (set.key == key)
            return &set;
    return nullptr;
}

std::vector<std::string> ReferenceCitations() {
    std::vector<std::string> citations;
    for (const auto& set : ReferenceSets())
        if (citations.empty() || citations.back() != set.fullCitation)
            citations.push_back(set.fullCitation);
    return citations;
}

std::string ReferenceSetPath(const std::string& referenceDir, const ReferenceSet& set) {
    return referenceDir + "/" + set.fileName;
}
