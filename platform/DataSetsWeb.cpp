#include "platform/DataSets.h"

#include <emscripten/emscripten.h>

// The page fetches and unpacks the parts (web/pre.js): 1 there, 0 on its way, -1 failed; the
// share fetched in thousandths.
TDataState RequestDataSet(const std::string& name, double* progress) {
    const int state = EM_ASM_INT(
        { return Module.velmOrraDataSet ? Module.velmOrraDataSet(UTF8ToString($0)) : 1; },
        name.c_str());
    if (progress)
        *progress =
            EM_ASM_INT(
                {
                    return Module.velmOrraDataShare
                               ? Math.round(1000 * Module.velmOrraDataShare(UTF8ToString($0)))
                               : 1000;
                },
                name.c_str()) /
            1000.0;
    return state > 0 ? TDataState::Ready : state < 0 ? TDataState::Failed : TDataState::Pending;
}
