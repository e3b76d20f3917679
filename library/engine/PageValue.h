#pragma once

#include <lumetto/Variant.h>

#include <QVariant>

namespace lumetto {

// A value the page returned, as the Variant its host sees: null and undefined are Null.
lumetto::Variant fromPage(const QVariant& value);

}  // namespace lumetto
