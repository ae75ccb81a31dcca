#pragma once

#include <QRgb>

// The fixed sixteen-colour palette; indexes outside 0..15 wrap into it.
QRgb QBColor(int index);
