#include "widgets/WindowDecorations.h"

#include "foundation/BarRecord.h"
#include "foundation/Ini.h"
#include "foundation/Pictures.h"
#include "foundation/Program.h"
#include "platform/Clock.h"
#include "platform/Keyboard.h"
#include "platform/UserSettings.h"
#include "platform/WebLinks.h"
#include "widgets/FormUtils.h"
#include "widgets/WindowTexts.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace lintaro {

namespace {

const char* const kBottomCounter = "BBCounter";
const char* const kRightCounter = "RBCounter";

// The tip counters kept between runs; the Setup page's starts at 0 on every run.
QString tipCounterName(TPage page) {
    return QStringLiteral("Tip%1Counter").arg(PageName(page));
}
bool tipCounterStored(TPage page) {
    return page != pgSetup;
}

} // namespace

std::vector<THoverImageName> MainWindowHoverImages() {
    std::vector<THoverImageName> images = {
        {"ImageIconOrderNew", "IconNewE"},
        {"ImageIconOrderOpen", "IconOpenD"},
        {"ImageIconOrderSave", "IconSaveC"},
        {"ImageIconOrderSaveAs", "IconSaveAsB"},
        {"ImageIconOrderPrint", "IconPrintA"},
        {"ImageIconPartsSave", "IconSaveF"},
        {"ImageIconPartsSaveAsCSV", "IconSaveAsCSVE"},
        {"ImageIconPartsLoadAsCSV", "IconLoadAsCSVD"},
        {"ImageIconPartsPrint", "IconPrintC"},
        {"ImageIconPartsDelete", "IconDeleteB"},
        {"ImageIconPartsDeleteAll", "IconDeleteAllA"},
        {"ImageIconMaterialNew", "IconNewF"},
        {"ImageIconMaterialOpen", "IconOpenE"},
        {"ImageIconMaterialSave", "IconSaveD"},
        {"ImageIconMaterialSaveAs", "IconSaveAsC"},
        {"ImageIconMaterialPrint", "IconPrintB"},
        {"ImageIconMaterialDelete", "IconDeleteA"},
        {"ImageIconSheetsPrev", "IconPagePrevE"},
        {"ImageIconSheetsNext", "IconPageNextD"},
        {"ImageIconSheetsZoomOut", "IconZoomOutC"},
        {"ImageIconSheetsZoomIn", "IconZoomInB"},
        {"ImageIconSheetsPrint", "IconPrintA"},
        {"ImageIconSetupSave", "IconSaveD"},
        {"ImageIconSetupLoadLogo", "IconLoadAsBMPC"},
        {"ImageIconSetupPrint", "IconPrintA"},
    };
    for (TPage page : kPages) {
        const QString p = PageName(page);
        images.push_back({QStringLiteral("ImageMenuCollapsed") + p, QStringLiteral("MenuCollapsed") + p});
        images.push_back({QStringLiteral("ImageTip") + p, QStringLiteral("Tip")});
        images.push_back({QStringLiteral("ImageTipPrev") + p, QStringLiteral("IconArrowLeft")});
        images.push_back({QStringLiteral("ImageTipNext") + p, QStringLiteral("IconArrowRight")});
    }
    return images;
}

TWindowDecorations::TWindowDecorations(QWidget* window, Clock& clock, const TINI& texts,
                                       const TPictureList& pictures)
    : QObject(window), window_(window), clock_(clock), texts_(texts), pictures_(pictures) {
    if (!window)
        return;
    for (const THoverImageName& entry : MainWindowHoverImages())
        if (QLabel* image = label(entry.objectName)) {
            hoverImages_.emplace_back(image, entry.picture);
            image->installEventFilter(this);
        }
    for (QLabel* link : window->findChildren<QLabel*>())
        if (link->objectName().startsWith(QStringLiteral("LabelMenu"))) {
            hoverLabels_.emplace_back(link);
            link->setCursor(Qt::PointingHandCursor);
            link->installEventFilter(this);
        }
    for (TPage page : kPages)
        for (const QString& prefix : {QStringLiteral("ImageBB"), QStringLiteral("ImageRB")})
            if (QLabel* banner = label(prefix + PageName(page)))
                banner->installEventFilter(this);
    if (QLabel* logo = label(QStringLiteral("ImageLogo")))
        logo->installEventFilter(this);
}

TWindowDecorations::TWindowDecorations(QWidget* window)
    : TWindowDecorations(window, CurrentClock(), Texts(), Pictures()) {}

TWindowDecorations::~TWindowDecorations() = default;

QLabel* TWindowDecorations::label(const QString& name) const {
    return window_ ? window_->findChild<QLabel*>(name) : nullptr;
}

void TWindowDecorations::ReadCounters(const TUserSettings& settings) {
    if (const auto value = settings.ReadInteger(QLatin1String(kBottomCounter)))
        bottom_.SetCounter(*value);
    if (const auto value = settings.ReadInteger(QLatin1String(kRightCounter)))
        right_.SetCounter(*value);
    for (TPage page : kPages)
        if (tipCounterStored(page))
            if (const auto value = settings.ReadInteger(tipCounterName(page)))
                tipCounters_[page] = *value;
}

void TWindowDecorations::WriteCounters(TUserSettings& settings) const {
    settings.WriteInteger(QLatin1String(kBottomCounter), bottom_.Counter());
    settings.WriteInteger(QLatin1String(kRightCounter), right_.Counter());
    for (TPage page : kPages)
        if (tipCounterStored(page))
            settings.WriteInteger(tipCounterName(page), tipCounters_[page]);
}

bool TWindowDecorations::ReadStoredCounters() {
    if (Keyboard::ShiftHeld())
        return false;
    TUserSettings settings;
    if (!settings.Open(false))
        return false;
    ReadCounters(settings);
    return true;
}

QString TWindowDecorations::DefaultBannerFolder() {
    return DataDir() + QStringLiteral("BANNERS");
}

void TWindowDecorations::LoadBanners(const QString& folder) {
    bottom_.Load(folder, QStringLiteral("BottomBanner*.*"));
    right_.Load(folder, QStringLiteral("RightBanner*.*"));
    links_.Load(folder + QStringLiteral("/Links.TXS"));
}

void TWindowDecorations::Start() {
    for (TPage page : kPages)
        ShowTip(page, tmCurrent);
    ShowBottomBanner();
    ShowRightBanner();
    refreshHover(nullptr);
}

void TWindowDecorations::StartIdleTimer() {
    if (!idleTimer_) {
        idleTimer_ = new QTimer(this);
        connect(idleTimer_, &QTimer::timeout, this, &TWindowDecorations::OnIdle);
    }
    idleTimer_->start(1000);
}

void TWindowDecorations::OnIdle() {
    const double now = clock_.Now();
    for (TPage page : kPages)
        if (now >= nextTip_[page])
            ShowTip(page, tmNext);
    if (now >= nextBottom_)
        ShowBottomBanner();
    if (now >= nextRight_)
        ShowRightBanner();
}

void TWindowDecorations::ShowTip(TPage page, TTipMode mode) {
    const QStringList lines = TipLines(texts_, page);
    if (!lines.isEmpty()) {
        int& counter = tipCounters_[page];
        counter = StepTipCounter(counter, static_cast<int>(lines.size()), mode);
        // A counter left outside the lines by a changed tips file leaves the label as it was.
        if (counter >= 0 && counter < lines.size())
            if (QLabel* tip = label(QStringLiteral("LabelTip") + PageName(page)))
                tip->setText(TextWithLineBreaks(lines[counter]));
    }
    nextTip_[page] = clock_.Now() + kTipInterval;
}

void TWindowDecorations::ShowBottomBanner() {
    nextBottom_ = clock_.Now() + kBottomBannerInterval;
    showBanner(bottom_, "ImageBB");
}

void TWindowDecorations::ShowRightBanner() {
    nextRight_ = clock_.Now() + kRightBannerInterval;
    showBanner(right_, "ImageRB");
}

void TWindowDecorations::showBanner(TBannerStrip& strip, const char* imagePrefix) {
    const int index = strip.Rotate();
    if (index < 0)
        return;
    const TBanner& banner = strip.Banner(index);
    const bool linked = links_.HasLink(banner.fileName);
    for (TPage page : kPages) {
        QLabel* image = label(QLatin1String(imagePrefix) + PageName(page));
        if (!image)
            continue;
        image->setPixmap(QPixmap::fromImage(banner.picture));
        SetControlHint(image, linked ? links_.Hint(banner.fileName) : QString());
        if (linked)
            image->setCursor(Qt::PointingHandCursor);
        else
            image->unsetCursor();
    }
}

void TWindowDecorations::FollowBottomLink() {
    followLink(bottom_);
}
void TWindowDecorations::FollowRightLink() {
    followLink(right_);
}

void TWindowDecorations::followLink(const TBannerStrip& strip) {
    if (const TBanner* shown = strip.Shown())
        OpenWebLink(links_.Address(shown->fileName));
}

void TWindowDecorations::FollowLogoLink() {
    OpenWebLink(GetBarField(texts_.ReadString(QStringLiteral("Common"), QStringLiteral("Logo")), 1));
}

void TWindowDecorations::refreshHover(const QObject* sender) {
    for (auto& [image, picture] : hoverImages_)
        if (image)
            HoverImage(sender, image, picture, pictures_);
    for (const QPointer<QLabel>& link : hoverLabels_)
        if (link)
            HoverLabel(sender, link);
}

bool TWindowDecorations::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
        refreshHover(watched);
        break;
    case QEvent::Leave:
    case QEvent::EnabledChange:
        // A disabled image shows its disabled picture at once, not only when the mouse comes by.
        refreshHover(window_);
        break;
    case QEvent::MouseButtonRelease: {
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            break;
        const QString name = watched->objectName();
        for (TPage page : kPages) {
            const QString p = PageName(page);
            if (name == QStringLiteral("ImageTip") + p || name == QStringLiteral("ImageTipNext") + p)
                ShowTip(page, tmNext);
            else if (name == QStringLiteral("ImageTipPrev") + p)
                ShowTip(page, tmPrevious);
            else if (name == QStringLiteral("ImageBB") + p)
                FollowBottomLink();
            else if (name == QStringLiteral("ImageRB") + p)
                FollowRightLink();
        }
        if (name == QStringLiteral("ImageLogo"))
            FollowLogoLink();
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace lintaro
