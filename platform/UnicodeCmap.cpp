#include "UnicodeCmap.h"

#include "HarfBuzzHandles.h"

namespace {

HbBlobPtr blobOf(ByteView bytes)
{
    return HbBlobPtr(hb_blob_create(reinterpret_cast<const char *>(bytes.data()), unsigned(bytes.size()),
                                  HB_MEMORY_MODE_READONLY, nullptr, nullptr));
}

bool mapsToGlyph(hb_font_t *font, quint32 codePoint)
{
    hb_codepoint_t glyph = 0;
    return hb_font_get_nominal_glyph(font, codePoint, &glyph) && glyph != 0;
}

// A face whose only table is the given cmap: enough for character lookups.
hb_blob_t *cmapOnly(hb_face_t *, hb_tag_t tag, void *cmap)
{
    return tag == HB_TAG('c', 'm', 'a', 'p') ? hb_blob_reference(static_cast<hb_blob_t *>(cmap)) : nullptr;
}

} // namespace

bool cmapMapsAny(ByteView cmap, const QVector<quint32> &codePoints)
{
    if (cmap.isNull() || codePoints.isEmpty() || cmap.size() > 0xFFFFFFFFu)
        return false;
    const HbBlobPtr table = blobOf(cmap);
    const HbFacePtr face(hb_face_create_for_tables(cmapOnly, table.get(), nullptr));
    const HbFontPtr font(hb_font_create(face.get()));
    for (quint32 codePoint : codePoints) {
        if (mapsToGlyph(font.get(), codePoint))
            return true;
    }
    return false;
}

FontContents fontContents(ByteView bytes, const QVector<quint32> &codePoints)
{
    FontContents contents;
    if (bytes.isNull() || bytes.size() > 0xFFFFFFFFu)
        return contents;
    const HbBlobPtr blob = blobOf(bytes);
    const HbFacePtr face(hb_face_create(blob.get(), 0));
    const HbFontPtr font(hb_font_create(face.get()));
    contents.glyphCount = hb_face_get_glyph_count(face.get());
    for (quint32 codePoint : codePoints) {
        if (!mapsToGlyph(font.get(), codePoint))
            contents.unmapped.append(codePoint);
    }
    return contents;
}
