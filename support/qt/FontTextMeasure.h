#pragma once

#include <QFontMetrics>
#include <QString>

#include <string_view>

#include "text/TextMeasure.h"

namespace talvane {

// How wide Qt draws text in one font, for the shared line-breaking rule.
class FontTextMeasure : public text::TextMeasure {
  public:
    explicit FontTextMeasure(const QFont& font) : metrics_(font) {}
    int width(std::u16string_view text) const override {
        return metrics_.horizontalAdvance(
            QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size())));
    }

  private:
    QFontMetrics metrics_;
};

}  // namespace talvane
