#pragma once
// The decorations of the main window driven by the data files: the tips of the five pages, the
// bottom and right banner strips with their links, the logo's link and the hover look of the icon
// images and side-menu labels. It finds its controls in the window by name (LabelTip<page>,
// ImageTip<page>, ImageTipPrev<page>, ImageTipNext<page>, ImageBB<page>, ImageRB<page>, ImageLogo,
// the icon images and LabelMenu… labels) and handles their clicks and hovering itself; controls that
// are missing are skipped. Make it after the window's controls exist: it finds them once.
//
// Time is read through the Clock interface: OnIdle advances every tip whose 34 seconds have passed,
// the bottom strip after 43 and the right strip after 23 seconds. The window calls OnIdle when idle
// (StartIdleTimer does so once a second).
#include "widgets/Banners.h"
#include "widgets/Pages.h"
#include "widgets/Tips.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <vector>

QT_BEGIN_NAMESPACE
class QLabel;
class QTimer;
class QWidget;
QT_END_NAMESPACE

namespace lintaro {

class Clock;
class TINI;
class TPictureList;
class TUserSettings;

// An image that changes on hovering, and the base name of its pictures ("1", "2", "3" appended).
struct THoverImageName {
    QString objectName;
    QString picture;
};
// Every hover image of the main window: the icon buttons of each page, the collapsed side-menu
// blocks, the tip images and the tip arrows.
std::vector<THoverImageName> MainWindowHoverImages();

class TWindowDecorations : public QObject {
public:
    // The window, clock, texts and pictures must outlive this object.
    TWindowDecorations(QWidget* window, Clock& clock, const TINI& texts, const TPictureList& pictures);
    // The program's clock, texts and pictures.
    explicit TWindowDecorations(QWidget* window);
    ~TWindowDecorations() override;

    // Counters as stored between runs: "BBCounter", "RBCounter" and the tip counters of the Order,
    // Parts, Material and Sheets pages; only the values that exist are read.
    void ReadCounters(const TUserSettings& settings);
    void WriteCounters(TUserSettings& settings) const;
    // At start: unless Shift is held, reads the counters from the user's stored values, opened
    // without creating them. False when nothing was read.
    bool ReadStoredCounters();

    // Reads the banner strips and "Links.TXS" from the folder (BANNERS beside the program by default).
    void LoadBanners(const QString& folder);
    static QString DefaultBannerFolder();

    // Shows every page's current tip and both strips, and puts hover images and link labels into
    // their normal state.
    void Start();
    void StartIdleTimer();
    // Advances what is due.
    void OnIdle();

    void ShowTip(TPage page, TTipMode mode);
    void ShowBottomBanner();
    void ShowRightBanner();
    // Opens the link of the banner now shown in a strip; nothing when it has no address.
    void FollowBottomLink();
    void FollowRightLink();
    // Opens field 1 of the text "Logo" of section "Common".
    void FollowLogoLink();

    int TipCounter(TPage page) const { return tipCounters_[page]; }
    void SetTipCounter(TPage page, int counter) { tipCounters_[page] = counter; }
    TBannerStrip& BottomStrip() { return bottom_; }
    TBannerStrip& RightStrip() { return right_; }
    TLinkList& Links() { return links_; }
    double NextTipTime(TPage page) const { return nextTip_[page]; }
    double NextBottomTime() const { return nextBottom_; }
    double NextRightTime() const { return nextRight_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showBanner(TBannerStrip& strip, const char* imagePrefix);
    void followLink(const TBannerStrip& strip);
    void refreshHover(const QObject* sender);
    QLabel* label(const QString& name) const;

    QPointer<QWidget> window_;
    Clock& clock_;
    const TINI& texts_;
    const TPictureList& pictures_;
    std::array<int, kPageCount> tipCounters_{};
    std::array<double, kPageCount> nextTip_{};
    double nextBottom_ = 0;
    double nextRight_ = 0;
    TBannerStrip bottom_;
    TBannerStrip right_;
    TLinkList links_;
    std::vector<std::pair<QPointer<QLabel>, QString>> hoverImages_;
    std::vector<QPointer<QLabel>> hoverLabels_;
    QTimer* idleTimer_ = nullptr;
};

} // namespace lintaro
