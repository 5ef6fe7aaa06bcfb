#include "clipboard/ClipLayout.h"

#include "store/ClipRecord.h"

std::vector<ClipBlockSource> clipLayoutFor(int type) {
    using namespace clipformat;
    const ClipBlockSource locale{kLocale, RecordColumn::Locale};
    const ClipBlockSource text{kText, RecordColumn::Text};
    switch (type) {
    case PlainText: return {locale, text};
    case UnicodeText: return {{kUnicodeText, RecordColumn::Data}, locale, text};
    case RichText: return {{0, RecordColumn::Data}, locale, text};
    case Bitmap: return {{kDib, RecordColumn::Data}};
    default: return {};
    }
}
