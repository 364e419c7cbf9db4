#include "model/Sheets.h"

#include "foundation/BarRecord.h"
#include "foundation/Ini.h"
#include "foundation/NumberFormat.h"
#include "foundation/Program.h"
#include "foundation/Units.h"
#include "model/ApplicationLinks.h"
#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Part.h"

#include <QCoreApplication>
#include <QCryptographicHash>

#include <algorithm>
#include <chrono>
#include <map>

namespace lintaro {

namespace {
TSheets::TCalculatorFactory& factory() {
    static TSheets::TCalculatorFactory f;
    return f;
}

const QString kSection = QStringLiteral("TSheets");

// Far more lines than a calculation writes (a few per sheet and one per part left over).
constexpr int kMaxReportLines = 1000000;

QString flag(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

double steadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

void TSheets::SetCalculatorFactory(TCalculatorFactory f) {
    factory() = std::move(f);
}

TSheets::TSheets(TComponent* owner) : TDataComponent(owner) {
    TSheets::InitDefaults();
}

QString TSheets::GetDefaultCaption() const {
    return GetText(kSection, QStringLiteral("DefaultCaption"));
}

void TSheets::InitDefaults() {
    TDataComponent::InitDefaults();
    SetCaptionDirect(GetDefaultCaption());
    addExtractToOrder_ = false;
    phase_ = scpNone;
    report_.clear();
    sheetNumber_ = sheetProgress_ = totalProgress_ = 0;
    calculator_ = nullptr;
    delete cuttingSheets_;
    cuttingSheets_ = new TCuttingSheetList(this);
    dimsTakedOff_ = false;
    delete material_;
    material_ = new TMaterial(this);
    partsInArea_ = {};
    partsInCount_ = 0;
    restReturned_ = false;
    state_ = ssNone;
    partsKey_.clear();
}

void TSheets::AssignTo(TComponent* dest) const {
    TDataComponent::AssignTo(dest);
    if (auto* d = dynamic_cast<TSheets*>(dest)) {
        d->addExtractToOrder_ = addExtractToOrder_;
        d->phase_ = phase_;
        d->report_ = report_;
        d->sheetNumber_ = sheetNumber_;
        d->sheetProgress_ = sheetProgress_;
        d->totalProgress_ = totalProgress_;
        d->cuttingSheets_->Assign(cuttingSheets_);
        d->dimsTakedOff_ = dimsTakedOff_;
        d->material_->Assign(material_);
        d->partsInArea_ = partsInArea_;
        d->partsInCount_ = partsInCount_;
        d->restReturned_ = restReturned_;
        d->state_ = state_;
        d->partsKey_ = partsKey_;
    }
}

QString TSheets::StateText(TSheetsState state) {
    return GetText(kSection, QStringLiteral("State[%1]").arg(int(state)));
}

QString TSheets::PhaseText(TSheetsCalculationPhase phase) {
    return GetText(kSection, QStringLiteral("CalculationPhase[%1]").arg(int(phase)));
}

QString TSheets::GetPropAsString(const QString& name) const {
    const QString key = KeyOf(name);
    if (key == QLatin1String("ADDEXTRACTTOORDER"))
        return flag(addExtractToOrder_);
    if (key == QLatin1String("DIMSTAKEDOFF"))
        return flag(dimsTakedOff_);
    if (key == QLatin1String("RESTRETURNED"))
        return flag(restReturned_);
    if (key == QLatin1String("CALCULATIONPHASE"))
        return PhaseText(phase_);
    if (key == QLatin1String("STATE"))
        return StateText(state_);
    if (key == QLatin1String("CALCULATIONREPORT")) {
        QString text;
        for (const QString& line : report_)
            text += line + QLatin1String("\r\n");
        return text;
    }
    if (key == QLatin1String("CALCULATIONSHEETNUMBER"))
        return QString::number(sheetNumber_);
    if (key == QLatin1String("CALCULATIONSHEETPROGRESS"))
        return QString::number(sheetProgress_);
    if (key == QLatin1String("CALCULATIONTOTALPROGRESS"))
        return QString::number(totalProgress_);
    if (key == QLatin1String("PARTSINCOUNT"))
        return QString::number(partsInCount_);
    if (key == QLatin1String("PARTSUNUSEDCOUNT"))
        return QString::number(PartsUnusedCount());
    if (key == QLatin1String("EXTRACTBRUTTO"))
        return FormatThousands(ExtractBrutto(), 2) + u'%';
    if (key == QLatin1String("EXTRACTNETTO"))
        return FormatThousands(ExtractNetto(), 2) + u'%';
    if (key == QLatin1String("PARTSINAREA") || key == QLatin1String("PARTSUNUSEDAREA")) {
        const Currency v = key == QLatin1String("PARTSINAREA") ? partsInArea_ : PartsUnusedArea();
        return FormatWithUnit(v, IsImperial() ? 2 : 3, AreaUnit());
    }
    return TDataComponent::GetPropAsString(name);
}

bool TSheets::DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& propName) {
    if (phase == 1) {
        const bool own = source == this;
        const bool sheets = source == cuttingSheets_;
        const bool sheetsAll = sheets && propName.isEmpty();
        if (own && propName == QLatin1String("State")) {
            Announce(QStringLiteral("PartsUnusedArea"));
            Announce(QStringLiteral("PartsUnusedCount"));
            Announce(QStringLiteral("ExtractBrutto"));
            Announce(QStringLiteral("ExtractNetto"));
        }
        if ((own && propName == QLatin1String("PartsInArea")) || sheetsAll)
            Announce(QStringLiteral("PartsUnusedArea"));
        if ((own && propName == QLatin1String("PartsInCount")) || sheetsAll)
            Announce(QStringLiteral("PartsUnusedCount"));
        if (sheetsAll || (sheets && propName == QLatin1String("ExtractBrutto")))
            Announce(QStringLiteral("ExtractBrutto"));
        if (sheetsAll || (sheets && propName == QLatin1String("ExtractNetto")))
            Announce(QStringLiteral("ExtractNetto"));
    }
    return TDataComponent::DataChangeStep(source, sender, phase, propName);
}

TPartList* TSheets::OwnerParts() const {
    TComponent* owner = Owner();
    if (!owner)
        return nullptr;
    for (TComponent* c : owner->Components())
        if (auto* parts = dynamic_cast<TPartList*>(c))
            return parts;
    return nullptr;
}

void TSheets::RequestStop() {
    if (state_ != ssCalculating)
        return;
    stopRequested_ = true;
    if (calculator_)
        calculator_->SetStop(true);
}

void TSheets::Calculate() {
    stopRequested_ = false;
    SetState(ssCalculating);
    SetCalculationPhase(scpNone);
    SetCalculationSheetNumber(0);
    SetCalculationSheetProgress(0);
    SetCalculationTotalProgress(0);

    report_.clear();
    Announce(QStringLiteral("CalculationReport"));
    cuttingSheets_->Clear();

    if (TMaterial* current = TApplicationLinks::Material())
        material_->Assign(current);
    material_->Announce(QString());

    if (TPartList* parts = OwnerParts()) {
        SetPartsInArea(parts->Area());
        SetPartsInCount(parts->PartsCount());
    }

    bool ok = false;
    if (factory()) {
        calculator_ = factory()(this);
        if (calculator_ && stopRequested_)
            calculator_->SetStop(true);
        ok = calculator_ && calculator_->Calculate();
    }
    if (TPartList* parts = OwnerParts())
        partsKey_ = PartsKey(*parts);
    SetState(ok ? ssCalculatedOK : ssCalculatedError);
    SetDimsTakedOff(false);
    SetRestReturned(false);

    delete calculator_;
    calculator_ = nullptr;
    Announce(QStringLiteral("CalculationReport"));
    cuttingSheets_->Announce(QString());
}

void TSheets::CalculationInfo(int totalProgress, int sheetProgress, int sheetNumber,
                              TSheetsCalculationPhase phase, const QString& text) {
    if (totalProgress >= 0)
        SetCalculationTotalProgress(totalProgress);
    if (sheetProgress >= 0)
        SetCalculationSheetProgress(sheetProgress);
    if (sheetNumber >= 0)
        SetCalculationSheetNumber(sheetNumber);
    SetCalculationPhase(phase);
    if (!text.isEmpty())
        AppendReportLine(text);
}

void TSheets::AppendReportLine(const QString& line) {
    report_.append(line);
    Announce(QStringLiteral("CalculationReport"));
}

void TSheets::SaveToINI(TINI* ini) const {
    if (!ini)
        return;
    QStringList& result = ini->Section(QStringLiteral("CALCRESULT"));
    result.clear();
    WriteValue(result, QStringLiteral("Count"), QString::number(report_.size()));
    for (qsizetype i = 0; i < report_.size(); ++i)
        WriteValue(result, QStringLiteral("Line%1").arg(i + 1), report_[i]);

    cuttingSheets_->SaveToINI(*ini);
    material_->SaveToINI(*ini, false);

    const QString s = QStringLiteral("SHEETS");
    ini->EraseSection(s);
    ini->WriteString(s, QStringLiteral("AddExtractToOrder"), flag(addExtractToOrder_));
    ini->WriteString(s, QStringLiteral("DimsTakedOff"), flag(dimsTakedOff_));
    ini->WriteString(s, QStringLiteral("RestReturned"), flag(restReturned_));
    ini->WriteString(s, QStringLiteral("PartsInArea"), partsInArea_.toScaledText());
    ini->WriteString(s, QStringLiteral("PartsInCount"), QString::number(partsInCount_));
    ini->WriteString(s, QStringLiteral("PartsKey"), partsKey_);
    ini->WriteString(s, QStringLiteral("State"),
                     QStringLiteral("|%1|%2|").arg(int(state_)).arg(StateText(state_)));
}

void TSheets::LoadFromINI(const TINI* ini) {
    Clear();
    if (!ini)
        return;
    if (const QStringList* result = ini->FindSection(QStringLiteral("CALCRESULT"))) {
        bool ok = false;
        // Empty lines are not stored, so the count alone says how many there are; a damaged count
        // beyond any calculation's report is cut, rather than making up a billion empty lines.
        const int count = std::min(ReadValue(*result, QStringLiteral("Count")).toInt(&ok), kMaxReportLines);
        if (ok && count > 0) {
            const std::map<int, QString> values = ReadNumberedValues(*result, QStringLiteral("Line"), count);
            report_.reserve(count);
            for (int i = 1; i <= count; ++i) {
                const auto it = values.find(i);
                report_.append(it == values.end() ? QString() : it->second);
            }
        }
    }
    cuttingSheets_->LoadFromINI(*ini);
    material_->LoadFromINI(*ini);

    const QString s = QStringLiteral("SHEETS");
    SetAddExtractToOrder(ini->ReadString(s, QStringLiteral("AddExtractToOrder")) == QLatin1String("1"));
    SetDimsTakedOff(ini->ReadString(s, QStringLiteral("DimsTakedOff")) == QLatin1String("1"));
    SetRestReturned(ini->ReadString(s, QStringLiteral("RestReturned")) == QLatin1String("1"));
    bool ok = false;
    const int state = GetBarField(ini->ReadString(s, QStringLiteral("State")), 0).toInt(&ok);
    // A number outside the known states reads as no state.
    SetState(ok && state >= ssNone && state <= ssPartsChanged ? TSheetsState(state) : ssNone);
    SetPartsInArea(Currency::fromScaledText(ini->ReadString(s, QStringLiteral("PartsInArea")), &ok));
    if (!ok)
        SetPartsInArea({});
    const int count = ini->ReadString(s, QStringLiteral("PartsInCount")).toInt(&ok);
    SetPartsInCount(ok ? count : 0);
    partsKey_ = ini->ReadString(s, QStringLiteral("PartsKey")).trimmed();

    Announce(QStringLiteral("ExtractBrutto"));
    Announce(QStringLiteral("ExtractNetto"));
    Announce(QStringLiteral("CalculationReport"));
    material_->Announce(QString());
}

#define LINTARO_SHEETS_SETTER(Name, field, Type)                                                             \
    void TSheets::Set##Name(Type value) {                                                                    \
        if (field == value)                                                                                  \
            return;                                                                                          \
        field = value;                                                                                       \
        Announce(QStringLiteral(#Name));                                                                     \
        SetModified(true);                                                                                   \
    }

LINTARO_SHEETS_SETTER(AddExtractToOrder, addExtractToOrder_, bool)
LINTARO_SHEETS_SETTER(CalculationPhase, phase_, TSheetsCalculationPhase)
LINTARO_SHEETS_SETTER(CalculationSheetNumber, sheetNumber_, int)
LINTARO_SHEETS_SETTER(CalculationTotalProgress, totalProgress_, int)
LINTARO_SHEETS_SETTER(DimsTakedOff, dimsTakedOff_, bool)
LINTARO_SHEETS_SETTER(PartsInArea, partsInArea_, Currency)
LINTARO_SHEETS_SETTER(PartsInCount, partsInCount_, int)
LINTARO_SHEETS_SETTER(RestReturned, restReturned_, bool)

#undef LINTARO_SHEETS_SETTER

void TSheets::SetCalculationSheetProgress(int value) {
    if (value != sheetProgress_) {
        sheetProgress_ = value;
        Announce(QStringLiteral("CalculationSheetProgress"));
        SetModified(true);
    }
    // Let the window repaint and take a stop command; pumping costs time, so not more often than
    // every 20 ms.
    if (QCoreApplication::instance()) {
        const double now = steadySeconds();
        if (now - lastEventPump_ >= 0.02) {
            lastEventPump_ = now;
            QCoreApplication::processEvents();
        }
    }
}

void TSheets::SetState(TSheetsState value) {
    if (value == ssPartsChanged || value == state_)
        return;
    state_ = value;
    Announce(QStringLiteral("State"));
    SetModified(true);
}

Currency TSheets::ExtractBrutto() const {
    return cuttingSheets_->ExtractBrutto();
}
Currency TSheets::ExtractNetto() const {
    return cuttingSheets_->ExtractNetto();
}

Currency TSheets::PartsUnusedArea() const {
    return state_ == ssNone ? Currency() : partsInArea_ - cuttingSheets_->PartsArea();
}

int TSheets::PartsUnusedCount() const {
    return state_ == ssNone ? 0 : partsInCount_ - cuttingSheets_->PartsCount();
}

QString TSheets::PartsKey(const TPartList& parts) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int i = 0; i < parts.ItemCount(); ++i) {
        const TPart* part = parts.Part(i);
        if (!part->IsValid())
            continue;
        hash.addData(QStringLiteral("%1|%2|%3|%4|%5\n")
                         .arg(part->ID())
                         .arg(part->StoredX().raw())
                         .arg(part->StoredY().raw())
                         .arg(part->Count())
                         .arg(int(part->Orientation()))
                         .toUtf8());
    }
    return QString::fromLatin1(hash.result().toHex());
}

bool TSheets::ResultOutOfDate(const TMaterial* current) const {
    if (state_ != ssCalculatedOK && state_ != ssCalculatedError)
        return false;
    if (const TPartList* parts = OwnerParts()) {
        if (partsKey_.isEmpty() ? parts->PartsCount() != partsInCount_ || parts->Area() != partsInArea_
                                : PartsKey(*parts) != partsKey_)
            return true;
    }
    if (!current || !material_)
        return false;
    if (current->Caption() != material_->Caption() ||
        current->StoredCutWidth() != material_->StoredCutWidth() ||
        current->HasOrientation() != material_->HasOrientation() ||
        current->StoredMinRecyArea() != material_->StoredMinRecyArea() ||
        current->StoredMinRecyDim() != material_->StoredMinRecyDim())
        return true;
    const TDimensionList* used = material_->Dims();
    const TDimensionList* stock = current->Dims();
    for (int i = 0; i < used->ItemCount(); ++i) {
        const TDimension* was = used->Dimension(i);
        for (int j = 0; j < stock->ItemCount(); ++j) {
            const TDimension* now = stock->Dimension(j);
            if (now->ID() == was->ID() &&
                (now->StoredX() != was->StoredX() || now->StoredY() != was->StoredY() ||
                 now->StoredOrientation() != was->StoredOrientation()))
                return true;
        }
    }
    return false;
}

} // namespace lintaro
