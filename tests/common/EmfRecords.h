// Reading EMF pictures back in tests through libuemf's own record checks and structures.
#pragma once

#include "tests/common/FileBytes.h"

#include <uemf.h>
#include <uemf_safe.h>

#include <cstdint>
#include <string>
#include <vector>

namespace strativ::test {

struct EmfRecord {
    std::uint32_t type = 0;
    const char* data = nullptr;
    template <class T>
    const T& As() const { return *reinterpret_cast<const T*>(data); }
};

// The file's records in order; `complete` is false when a record is malformed, overruns the
// file or the picture does not end with EMR_EOF.
struct EmfPicture {
    std::string bytes;
    std::vector<EmfRecord> records;
    bool complete = false;
    bool sizesAligned = true;
    const U_EMRHEADER& Header() const { return records.front().As<U_EMRHEADER>(); }
    std::vector<EmfRecord> OfType(std::uint32_t type) const
    {
        std::vector<EmfRecord> result;
        for (const EmfRecord& r : records)
            if (r.type == type)
                result.push_back(r);
        return result;
    }
};

inline EmfPicture ReadEmf(const std::string& path)
{
    EmfPicture picture;
    picture.bytes = ReadFileBytes(path);
    std::size_t offset = 0;
    while (offset + sizeof(U_EMR) <= picture.bytes.size()) {
        const char* data = picture.bytes.data() + offset;
        const auto* emr = reinterpret_cast<const U_EMR*>(data);
        if (emr->nSize < sizeof(U_EMR) || offset + emr->nSize > picture.bytes.size() || !U_emf_record_safe(data))
            return picture;
        picture.sizesAligned = picture.sizesAligned && emr->nSize % 4 == 0;
        picture.records.push_back({emr->iType, data});
        offset += emr->nSize;
        if (emr->iType == U_EMR_EOF) {
            picture.complete = offset == picture.bytes.size() && picture.records.front().type == U_EMR_HEADER;
            return picture;
        }
    }
    return picture;
}

// The UTF-16 text of an EMR_EXTTEXTOUTW record and its advances.
inline std::u16string TextOf(const EmfRecord& r)
{
    const auto& rec = r.As<U_EMREXTTEXTOUTW>();
    const auto* chars = reinterpret_cast<const char16_t*>(r.data + rec.emrtext.offString);
    return std::u16string(chars, rec.emrtext.nChars);
}

inline std::vector<std::uint32_t> AdvancesOf(const EmfRecord& r)
{
    const auto& rec = r.As<U_EMREXTTEXTOUTW>();
    // The Dx offset follows the string offset and the optional rectangle in the text block.
    const char* text = reinterpret_cast<const char*>(&rec.emrtext);
    std::size_t at = sizeof(U_EMRTEXT);
    if (!(rec.emrtext.fOptions & U_ETO_NO_RECT))
        at += sizeof(U_RECTL);
    const auto offDx = *reinterpret_cast<const std::uint32_t*>(text + at);
    const auto* dx = reinterpret_cast<const std::uint32_t*>(r.data + offDx);
    return std::vector<std::uint32_t>(dx, dx + rec.emrtext.nChars);
}

}  // namespace strativ::test
