#include "ReplacedTableFace.h"

namespace {

struct Replacement
{
    hb_face_t *face;
    hb_tag_t tag;
    QByteArray table;
};

hb_blob_t *referenceTable(hb_face_t *, hb_tag_t tag, void *userData)
{
    auto *replacement = static_cast<Replacement *>(userData);
    if (tag != replacement->tag)
        return hb_face_reference_table(replacement->face, tag);
    // The blob holds a share of the bytes: it may outlive this face (a face
    // prepared from it keeps tables it copied nothing of).
    auto *bytes = new QByteArray(replacement->table);
    return hb_blob_create(bytes->constData(), unsigned(bytes->size()), HB_MEMORY_MODE_READONLY, bytes,
                          [](void *data) { delete static_cast<QByteArray *>(data); });
}

} // namespace

HbFacePtr faceReplacingTable(hb_face_t *face, hb_tag_t tag, const QByteArray &table)
{
    auto *replacement = new Replacement{hb_face_reference(face), tag, table};
    HbFacePtr replaced(hb_face_create_for_tables(referenceTable, replacement, [](void *userData) {
        auto *replacement = static_cast<Replacement *>(userData);
        hb_face_destroy(replacement->face);
        delete replacement;
    }));
    // The glyph count and units per em are read from the tables on demand;
    // the index matters only for the face's own blob, which this one has not.
    hb_face_set_index(replaced.get(), hb_face_get_index(face));
    return replaced;
}
