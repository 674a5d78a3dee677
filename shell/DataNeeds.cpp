#include "shell/DataNeeds.h"

std::vector<std::string> DataNeededFor(const std::string& language, int density,
                                       bool clearSymbols) {
    const bool english = language.empty() || language == "en";
    std::vector<std::string> parts{"base"};
    if (!english) parts.push_back("lang-" + language);
    if (density > 1) {
        parts.push_back("2x");
        if (!english) parts.push_back("2x-lang-" + language);
    }
    // The 2x clear balls replace the 1x ones wholly.
    if (clearSymbols) parts.push_back(density > 1 ? "2x-symbols" : "symbols");
    return parts;
}

TDataState RequestData(const std::vector<std::string>& parts, double* progress) {
    bool pending = false, failed = false;
    double sum = 0.0;
    for (const std::string& part : parts) {
        double share = 0.0;
        const TDataState state = RequestDataSet(part, &share);
        pending = pending || state == TDataState::Pending;
        failed = failed || state == TDataState::Failed;
        sum += state == TDataState::Ready ? 1.0 : share;
    }
    if (progress) *progress = parts.empty() ? 1.0 : sum / static_cast<double>(parts.size());
    if (pending) return TDataState::Pending;
    return failed ? TDataState::Failed : TDataState::Ready;
}
