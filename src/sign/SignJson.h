#pragma once

#include "sign/SignModel.h"

#include <QByteArray>
#include <QJsonObject>

namespace led {

// The sign's state for tests and reports. Texts as UTF-8 (glyph references as {圖n}) with
// their bytes in hex beside them; screens, glyphs and schedule rows in their order.
// QJsonObject keeps its keys sorted, so equal states give equal text.
QJsonObject signStateJson(const SignState& s);
QByteArray signStateText(const SignState& s);

} // namespace led
