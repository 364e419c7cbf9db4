#pragma once
// The current objects of the application, which lower layers reach without knowing the window: the
// one setup, the current order and material, and the window's control refresh. The window (or the
// batch tool, or a test) registers them; none of them is owned here.
//
// The current material and order are not owned by each other, so their changes travel between
// them (and to the setup and the window) by Forward rather than by the ownership flood.
#include <QString>

#include <functional>

namespace lintaro {

class TComponent;
class TSimpleComponent;
class TSetup;
class TMaterial;

class TApplicationLinks {
public:
    using TControlsRefresh = std::function<void(TComponent* source, const QString& propName)>;

    // The registered setup; when none is registered, one process-wide setup with the defaults.
    static TSetup* Setup();
    static void SetSetup(TSetup* setup);
    static bool HasSetup();
    static TSimpleComponent* Order();
    static void SetOrder(TSimpleComponent* order);
    static TMaterial* Material();
    static void SetMaterial(TMaterial* material);
    static void SetControlsRefresh(TControlsRefresh refresh);
    static bool HasControlsRefresh();

    // Passes a change announced in `from`'s tree to the current order, material and setup (each
    // except `from` itself, with `from` as sender) and to the window's control refresh.
    static void Forward(TSimpleComponent* from, TComponent* source, const QString& propName, bool toOrder,
                        bool toMaterial, bool toSetup);
};

// Registers links for its lifetime and restores the previous ones (tests, the batch tool).
class TScopedApplicationLinks {
public:
    TScopedApplicationLinks();
    ~TScopedApplicationLinks();
    TScopedApplicationLinks(const TScopedApplicationLinks&) = delete;
    TScopedApplicationLinks& operator=(const TScopedApplicationLinks&) = delete;

private:
    TSetup* setup_;
    TSimpleComponent* order_;
    TMaterial* material_;
    TApplicationLinks::TControlsRefresh refresh_;
};

} // namespace lintaro
