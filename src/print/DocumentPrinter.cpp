#include "print/DocumentPrinter.h"

#include "foundation/DataComponentList.h"
#include "foundation/Files.h"
#include "foundation/Program.h"
#include "foundation/TextFile.h"
#include "foundation/Units.h"
#include "model/ApplicationLinks.h"
#include "model/Setup.h"
#include "platform/Keyboard.h"
#include "platform/PictureLoader.h"
#include "platform/UserSettings.h"
#include "print/PrintHost.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace lintaro {

TDocumentPrinter::TDocumentPrinter(const QString& stem) : stem_(stem) {
    Sestava.Popis = QStringLiteral("Tisková úloha ORVEL");
    Sestava.IniFileName = QStringLiteral("VadeZIR.ini");
    Sestava.ExportLanguage = slUndefined;
    Sestava.ReportName = QStringLiteral(".pts");
    Sestava.AllowNullValues = true;
    Sestava.PrintBackground = false;
    Sestava.IsStored = false;
    Sestava.DataSource = &dataSet_;
    Sestava.OnNactiPredlohu = [this](TSestava& report, TPredloha& predloha) {
        NactiPredlohu(report, predloha);
    };
    Sestava.OnUlozPredlohu = [this](TSestava& report) { return UlozPredlohu(report); };
    Sestava.OnNactiSeznamObrazu = [this](TSestava&, QStringList& names) { names = NactiSeznamObrazu(); };
    Sestava.OnNactiObraz = [this](TSestava&, const QString& name, QImage& picture) {
        return NactiObraz(name, picture);
    };
}

TDocumentPrinter::~TDocumentPrinter() {
    Close();
}

void TDocumentPrinter::AddField(const QString& name, int size) {
    // The size is the field's width; its text is printed whole, so a long calculation report or
    // note is not cut off in the middle of a line.
    TDataField& field = dataSet_.AddCalculatedField(
        name, [this](TDataField& f) { return FieldText(f.FieldName); }, ftString, size);
    field.Size = size;
}

void TDocumentPrinter::AddAreaUnitField() {
    TDataField& field = dataSet_.AddCalculatedField(
        QStringLiteral("AreaUnit"), [](TDataField&) { return AreaUnit(); }, ftString, 5);
    field.Size = 5;
}

void TDocumentPrinter::AddAddressFields(const QString& prefix, bool withVATPayer) {
    const bool supplier = prefix == QLatin1String("Supplier");
    AddField(prefix + QStringLiteral("Caption"), 40);
    AddField(prefix + QStringLiteral("Street"), 40);
    AddField(prefix + QStringLiteral("ZIP"), 10);
    AddField(prefix + QStringLiteral("Town"), 40);
    AddField(prefix + QStringLiteral("INO"), 20);
    AddField(prefix + QStringLiteral("TIN"), 20);
    AddField(prefix + QStringLiteral("Person"), 40);
    AddField(prefix + QStringLiteral("Phone"), supplier ? 40 : 20);
    AddField(prefix + QStringLiteral("Email"), 40);
    AddField(prefix + QStringLiteral("Note"), supplier ? 1024 : 40);
    if (supplier)
        AddField(prefix + QStringLiteral("WWW"), 40);
    if (supplier && withVATPayer)
        AddField(prefix + QStringLiteral("IsNotVATPayer"), 10);
}

QString TDocumentPrinter::FieldText(const QString& fieldName) {
    const QString name = QStringLiteral("DB") + stem_ + fieldName;
    for (const TSource& source : Sources()) {
        if (!name.startsWith(source.prefix))
            continue;
        const TDataComponent* object = source.object ? source.object() : nullptr;
        if (!object)
            return QString();
        return object->GetPropAsString(source.property.isEmpty() ? name.mid(source.prefix.size())
                                                                 : source.property);
    }
    return QString();
}

int TDocumentPrinter::RowId() const {
    if (!dataSet_.Active())
        return 0;
    TDataField* id = dataSet_.FieldByName(QStringLiteral("ID"));
    bool ok = false;
    const int value = id ? id->AsString().trimmed().toInt(&ok) : 0;
    return ok ? value : 0;
}

const TDataComponent* TDocumentPrinter::RowItem(const TDataComponentList* list) const {
    const int id = RowId();
    return list && id > 0 ? list->FindItem(-id) : nullptr;
}

void TDocumentPrinter::NactiPredlohu(TSestava&, TPredloha& predloha) const {
    const QStringList* lines = ReportTemplates().FindSection(SectionName());
    predloha.SetLines(lines ? *lines : QStringList());
}

bool TDocumentPrinter::UlozPredlohu(TSestava& report) const {
    TINI& store = ReportTemplates();
    store.Section(SectionName()) = report.Predloha().Lines();
    return store.SaveToFile();
}

QStringList TDocumentPrinter::NactiSeznamObrazu() const {
    return {QStringLiteral("LOGO")};
}

bool TDocumentPrinter::NactiObraz(const QString& name, QImage& picture) {
    if (name.compare(QLatin1String("LOGO"), Qt::CaseInsensitive) != 0)
        return false;
    const QString logo = TApplicationLinks::Setup()->SupplierLogoFileName();
    QImage image = logo.isEmpty() ? QImage() : pictureFile(logo);
    if (image.isNull())
        image = pictureFile(ProgramDir() + QStringLiteral("logo.bmp"));
    if (image.isNull())
        return false;
    picture = image;
    return true;
}

QImage TDocumentPrinter::pictureFile(const QString& path) {
    const QFileInfo file(path);
    if (!file.isFile())
        return {};
    const QDateTime modified = file.lastModified();
    if (loaded_.path != path || loaded_.modified != modified || loaded_.size != file.size())
        loaded_ = {path, modified, file.size(), LoadPictureFile(path)};
    return loaded_.image;
}

bool TDocumentPrinter::Open() {
    Close();
    if (!HasSubject())
        return false;
    tempFile_ = TempFileName(QStringLiteral(".TMP"));
    PrepareRows();
    QByteArray bytes;
    for (const QString& row : Rows())
        bytes += row.toUtf8() + '\n';
    if (!WriteFileAtomically(tempFile_, bytes)) {
        ReleaseRows();
        tempFile_.clear();
        return false;
    }
    dataSet_.FileName = tempFile_;
    if (!dataSet_.Open()) {
        QFile::remove(tempFile_);
        tempFile_.clear();
        ReleaseRows();
        return false;
    }
    Sestava.NactiPredlohu();
    if (TPrintHost* host = PrintHost())
        host->FillParameters(Sestava.Parametry);
    else
        ReportParameterLines(Sestava.Parametry);
    return true;
}

void TDocumentPrinter::Close() {
    if (tempFile_.isEmpty())
        return;
    dataSet_.Close();
    ReleaseRows();
    QFile::remove(tempFile_);
    tempFile_.clear();
}

void TDocumentPrinter::LoadPrinterChoice() {
    PrinterIndex = 0;
    Sestava.PrintCopies = 1;
    if (Keyboard::ShiftHeld())
        return;
    TUserSettings settings;
    if (!settings.Open(false))
        return;
    // A value edited by hand outside its range is brought back into it.
    if (const auto index = settings.ReadInteger(stem_ + QStringLiteral("PrinterIndex")))
        PrinterIndex = std::max(0, *index);
    if (const auto copies = settings.ReadInteger(stem_ + QStringLiteral("Copies")))
        Sestava.PrintCopies = std::clamp(*copies, 1, kMaxCopies);
}

void TDocumentPrinter::SavePrinterChoice() const {
    if (Keyboard::ShiftHeld())
        return;
    TUserSettings settings;
    if (!settings.Open(true))
        return;
    settings.WriteInteger(stem_ + QStringLiteral("PrinterIndex"), PrinterIndex);
    settings.WriteInteger(stem_ + QStringLiteral("Copies"), Sestava.PrintCopies);
    settings.Close();
}

bool TDocumentPrinter::Preview() {
    TPrintHost* host = PrintHost();
    if (!host || !Open())
        return false;
    LoadPrinterChoice();
    host->Preview(Sestava, PrinterIndex);
    SavePrinterChoice();
    Close();
    return true;
}

bool TDocumentPrinter::Design() {
    TPrintHost* host = PrintHost();
    if (!host || !Open())
        return false;
    host->Design(Sestava);
    Close();
    return true;
}

} // namespace lintaro
