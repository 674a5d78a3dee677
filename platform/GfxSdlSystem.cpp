// The graphics system over SDL: the adapter, its display modes, and the devices it makes.
#include "platform/Gfx.h"
#include "platform/GfxSdlDevice.h"
#include "platform/GfxSdlFormats.h"
#include "platform/Window.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

namespace {

using gfxsdl::FormatOfSdl;
using gfxsdl::TSdlDevice;

void CopyString(char (&to)[512], const std::string& from) {
    std::snprintf(to, sizeof to, "%s", from.c_str());
}

class TSdlSystem final : public IGfxSystem {
public:
    explicit TSdlSystem(TGfxSystemKind kind) : kind_(kind) {}
    ~TSdlSystem() override {
        if (kind_ == TGfxSystemKind::Window) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    int32_t GetAdapterIdentifier(uint32_t adapter, uint32_t, TGfxAdapterIdentifier& id) override {
        if (adapter != 0) return GFXERR_INVALIDCALL;
        id = {};
        if (kind_ == TGfxSystemKind::Offscreen) {
            CopyString(id.Description, "SDL software renderer (offscreen)");
            CopyString(id.Driver, "offscreen");
            return GFX_OK;
        }
        // The renderer of the device made last; before any, the one SDL tries first.
        SDL_RendererInfo info{};
        const std::string renderer =
            !lastRenderer_.empty() ? lastRenderer_
            : SDL_GetNumRenderDrivers() > 0 && SDL_GetRenderDriverInfo(0, &info) == 0 && info.name
                ? info.name
                : "software";
        const char* video = SDL_GetCurrentVideoDriver();
        CopyString(id.Description, "SDL " + renderer + " renderer");
        CopyString(id.Driver, video ? video : "unknown");
        return GFX_OK;
    }

    int32_t GetDeviceCaps(uint32_t adapter, int32_t deviceType, TGfxCaps& caps) override {
        if (adapter != 0 || (deviceType != D3DDEVTYPE_HAL && deviceType != D3DDEVTYPE_REF))
            return GFXERR_INVALIDCALL;
        caps = {};
        caps.DeviceType = deviceType;
        caps.MaxTextureWidth = caps.MaxTextureHeight = 8192;
        caps.PresentationIntervals = D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_IMMEDIATE;
        return GFX_OK;
    }

    int32_t GetAdapterDisplayMode(uint32_t adapter, TGfxDisplayMode& mode) override {
        if (adapter != 0) return GFXERR_INVALIDCALL;
        if (kind_ == TGfxSystemKind::Offscreen) {
            mode = {1024, 768, 60, D3DFMT_X8R8G8B8};
            return GFX_OK;
        }
        SDL_DisplayMode m{};
        if (SDL_GetDesktopDisplayMode(0, &m) != 0) return GFXERR_NOTAVAILABLE;
        mode = {uint32_t(m.w), uint32_t(m.h), uint32_t(std::max(m.refresh_rate, 0)),
                FormatOfSdl(m.format)};
        return GFX_OK;
    }

    uint32_t GetAdapterModeCount(uint32_t adapter) override {
        if (adapter != 0) return 0;
        if (kind_ == TGfxSystemKind::Offscreen) return uint32_t(kOffscreenModes.size());
        return uint32_t(std::max(SDL_GetNumDisplayModes(0), 0));
    }

    int32_t EnumAdapterModes(uint32_t adapter, uint32_t index, TGfxDisplayMode& mode) override {
        if (adapter != 0) return GFXERR_INVALIDCALL;
        if (kind_ == TGfxSystemKind::Offscreen) {
            if (index >= kOffscreenModes.size()) return GFXERR_INVALIDCALL;
            mode = kOffscreenModes[index];
            return GFX_OK;
        }
        SDL_DisplayMode m{};
        if (SDL_GetDisplayMode(0, int(index), &m) != 0) return GFXERR_INVALIDCALL;
        mode = {uint32_t(m.w), uint32_t(m.h), uint32_t(std::max(m.refresh_rate, 0)),
                FormatOfSdl(m.format)};
        return GFX_OK;
    }

    int32_t CreateDevice(uint32_t adapter, int32_t deviceType, TNativeWindow* focusWindow, uint32_t,
                         TGfxPresentParameters& params,
                         std::shared_ptr<IGfxDevice>& device) override {
        device.reset();
        if (adapter != 0 || (deviceType != D3DDEVTYPE_HAL && deviceType != D3DDEVTYPE_REF))
            return GFXERR_INVALIDCALL;
        TNativeWindow* window = params.hDeviceWindow ? params.hDeviceWindow : focusWindow;
        if (kind_ == TGfxSystemKind::Window && !window) return GFXERR_INVALIDCALL;
        auto made = std::make_shared<TSdlDevice>(
            kind_, kind_ == TGfxSystemKind::Window ? SdlWindowOf(window) : nullptr);
        const int32_t result = made->Create(params);
        if (result != GFX_OK) return result;
        lastRenderer_ = made->RendererName();
        device = std::move(made);
        return GFX_OK;
    }

private:
    static inline const std::array<TGfxDisplayMode, 6> kOffscreenModes = {{
        {640, 480, 60, D3DFMT_X8R8G8B8},
        {640, 480, 60, D3DFMT_R5G6B5},
        {800, 600, 60, D3DFMT_X8R8G8B8},
        {800, 600, 60, D3DFMT_R5G6B5},
        {1024, 768, 60, D3DFMT_X8R8G8B8},
        {1024, 768, 60, D3DFMT_R5G6B5},
    }};
    TGfxSystemKind kind_;
    std::string lastRenderer_;
};

} // namespace

std::shared_ptr<IGfxSystem> CreateGfxSystem(TGfxSystemKind kind) {
    if (kind == TGfxSystemKind::Window && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
    return std::make_shared<TSdlSystem>(kind);
}
