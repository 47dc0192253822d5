#include "GdiHandles.h"

namespace zavi {

Font CreateDefinedFont(const FontSpec& spec, int dpi, BYTE quality) {
    LOGFONTW font{};
    font.lfHeight = FontHeightForPoints(spec.points, dpi);
    font.lfWeight = spec.weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_TT_PRECIS;
    font.lfQuality = quality;
    const std::wstring face = Widen(spec.face);
    lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
    return Font(CreateFontIndirectW(&font));
}

}  // namespace zavi
