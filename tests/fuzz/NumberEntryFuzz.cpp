// Number entry on any text under both locales: evaluation, cleaning and the conversions.
#include "FuzzSupport.h"
#include "foundation/ConversionError.h"
#include "foundation/Currency.h"
#include "foundation/NumberEntry.h"
#include "platform/Locale.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = lintaro::fuzz::Text(data, size).left(4096);
    for (const lintaro::LocaleSettings& locale :
         {lintaro::Locale::czech(), lintaro::Locale::unitedStates()}) {
        lintaro::ScopedLocale guard(locale);
        long double value = 0;
        try {
            (void)lintaro::EvalExpression(text, value); // a division by zero throws, as specified
        } catch (const lintaro::ConversionError&) {
        }
        (void)lintaro::CleanNumber(text, 1.5L);
        try {
            (void)lintaro::EntryToCurrency(text, lintaro::Currency::fromInteger(7));
        } catch (const lintaro::ConversionError&) {
        }
        try {
            (void)lintaro::EntryToInteger(text, 3);
        } catch (const lintaro::ConversionError&) {
        }
        try {
            (void)lintaro::CleanedEntryToInteger(text, 3);
        } catch (const lintaro::ConversionError&) {
        }
        bool ok = false;
        (void)lintaro::Currency::fromText(text, &ok);
        (void)lintaro::Currency::fromScaledText(text, &ok);
    }
    return 0;
}
