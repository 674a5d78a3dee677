#include "shell/Arrangement.h"

#include "layout/Layout.h"
#include "render/RenderDevice.h"
#include "state/ScreenFlags.h"

#include <algorithm>
#include <vector>

TArrangement ArrangementFor(int32_t width, int32_t height, uint32_t word) {
    if (width <= 0 || height <= 0 || word == scrLogo || word == scrLoading)
        return TArrangement::Whole;
    const double whole = std::min(double(width) / kPictureWidth, double(height) / kPictureHeight);
    const double upright =
        std::min(double(width) / kPortraitWidth, double(height) / kPortraitHeight);
    return upright < whole * kUprightGain ? TArrangement::Whole : TArrangement::Portrait;
}

void Arrange(TRenderDevice& device, TArrangement arrangement) {
    if (arrangement == TArrangement::Whole) {
        device.SetArrangement(0, 0, {}, 0);
        return;
    }
    std::vector<TRenderDevice::TRegion> regions;
    for (const TShownPiece& p : kPortraitPlaying)
        regions.push_back({{p.From.Left, p.From.Top, p.From.Right, p.From.Bottom}, p.To.X, p.To.Y});
    device.SetArrangement(kPortraitWidth, kPortraitHeight, std::move(regions), kPortraitGaps);
}
