// Decoding of the serialized entity stream: an object list in the tagged archive encoding
// (counts, class tags, a running index shared by classes, objects and block definitions),
// then the block definition list with each definition's member objects.
#include <algorithm>
#include <array>
#include <new>

#include "formats/DrawingReader.h"
#include "formats/jww/JwwEntityModel.h"
#include "formats/jww/JwwRecords.h"
#include "formats/jww/JwwString.h"
#include "util/LargePages.h"
#include "util/PageWarmer.h"

namespace {

constexpr uint16_t kCountEscape = 0xFFFF;    // a 32-bit count follows
constexpr uint16_t kNewClassTag = 0xFFFF;    // schema, name length, name; then the object
constexpr uint16_t kLongClassTag = 0x7FFF;   // a 32-bit class index follows (top bit set)
constexpr uint16_t kClassTagBase = 0x8000;   // tag - base = class index
constexpr uint32_t kLongClassIndexMask = 0x7FFFFFFF;

// Smallest file size of one member object (a tag) and of one block definition (tag, fixed
// part of the old form, empty name, count): used to bound what a count may reserve.
constexpr size_t kMinObjectBytes = 2;
// Of a line: its tag and four coordinates at least.
constexpr size_t kMinLineBytes = 2 + 4 * 8;
constexpr size_t kMinBlockDefBytes = 2 + 25 + 1 + 2;

struct TKnownClass {
    const char* name;
    EJwwKind kind;
};
constexpr std::array<TKnownClass, 7> kKnownClasses = {{
    {"CDataSen", EJwwKind::Line},
    {"CDataEnko", EJwwKind::Arc},
    {"CDataTen", EJwwKind::Point},
    {"CDataMoji", EJwwKind::Text},
    {"CDataSunpou", EJwwKind::Dimension},
    {"CDataSolid", EJwwKind::Solid},
    {"CDataBlock", EJwwKind::Block},
}};

size_t Reservable(int64_t declared, size_t remaining, size_t minBytes)
{
    if (declared <= 0) return 0;
    return static_cast<size_t>(std::min<int64_t>(declared, static_cast<int64_t>(remaining / minBytes)));
}

class TStreamDecoder {
public:
    TStreamDecoder(TByteCursor& cursor, int32_t version, TJwwEntityModel& model)
        : c_(cursor), version_(version), model_(model)
    {
        classOfKind_.fill(-1);
    }

    void ReadEntityList()
    {
        model_.entityCount = ReadCount();
        // Lines are most of a drawing: room for them all up front spares the copies of a
        // growing list (of the room left unused at most the warmed stretch past the last line
        // is touched, and it is given back by the trim). The lines' pages are faulted in ahead
        // of the decoding, on another core.
        ReserveLarge(model_.lines, Reservable(model_.entityCount, c_.Remaining(), kMinLineBytes));
        TPageWarmer warmer;
        size_t warmed = 0;
        for (int32_t done = 0; done < model_.entityCount; ++done) {
            warmer.WarmAhead(model_.lines, warmed);
            EJwwKind kind = ReadObjectTag();
            ReadObject(kind, model_, nullptr);
            ++running_;
        }
    }

    void ReadBlockDefinitionList()
    {
        model_.blockDefCount = ReadCount();
        if (model_.blockDefCount <= 0) return;
        model_.blockDefs.reserve(Reservable(model_.blockDefCount, c_.Remaining(), kMinBlockDefBytes));
        for (int32_t i = 0; i < model_.blockDefCount; ++i) ReadBlockDefinition(i);
    }

private:
    int32_t ReadCount()
    {
        uint16_t count = c_.U16();
        return count == kCountEscape ? static_cast<int32_t>(c_.U32()) : count;
    }

    // A new class: its schema (ignored) and name. It takes the current running index.
    std::string ReadNewClass()
    {
        c_.U16();
        uint16_t length = c_.U16();
        if (length > TJwwEntityModel::kMaxClassNameLength) throw TDamagedStream();
        std::string name = c_.Bytes(length);
        model_.classes.push_back({running_, name});
        ++running_;
        return name;
    }

    // The tag before an object, resolved to the kind of the object that follows.
    EJwwKind ReadObjectTag()
    {
        uint16_t tag = c_.U16();
        int64_t classIndex;
        if (tag == kNewClassTag) {
            int64_t index = running_;
            std::string name = ReadNewClass();
            for (const TKnownClass& known : kKnownClasses) {
                if (name == known.name) {
                    classOfKind_[static_cast<size_t>(known.kind)] = index;
                    return known.kind;
                }
            }
            throw TDamagedStream();  // no size is known for an object of another class
        }
        if (tag == kLongClassTag) {
            classIndex = c_.U32() & kLongClassIndexMask;
        } else {
            classIndex = static_cast<int64_t>(tag) - kClassTagBase;
        }
        for (const TKnownClass& known : kKnownClasses) {
            if (classOfKind_[static_cast<size_t>(known.kind)] == classIndex) return known.kind;
        }
        throw TDamagedStream();
    }

    // Reads one object body into `lists`; a body the file ends inside is never appended.
    // With `members`, the record's place is noted in the definition's member order.
    void ReadObject(EJwwKind kind, TJwwRecordLists& lists, std::vector<TEntJwwIndex>* members)
    {
        size_t index = 0;
        switch (kind) {
        case EJwwKind::Line: index = Append(lists.lines, ReadLineBody(c_, version_)); break;
        case EJwwKind::Arc: index = Append(lists.arcs, ReadArcBody(c_, version_)); break;
        case EJwwKind::Point: index = Append(lists.points, ReadPointBody(c_, version_)); break;
        case EJwwKind::Text: index = Append(lists.texts, ReadTextBody(c_, version_)); break;
        case EJwwKind::Dimension: index = Append(lists.dimensions, ReadDimensionBody(c_, version_)); break;
        case EJwwKind::Solid: index = Append(lists.solids, ReadSolidBody(c_, version_)); break;
        case EJwwKind::Block: index = Append(lists.blockInserts, ReadBlockBody(c_, version_)); break;
        }
        if (members) members->push_back({static_cast<int32_t>(kind), static_cast<int32_t>(index)});
    }

    template <typename T> static size_t Append(std::vector<T>& list, T&& record)
    {
        list.push_back(std::move(record));
        return list.size() - 1;
    }

    void ReadBlockDefinition(int32_t position)
    {
        // The definition's class tag: its name is not compared (older files and current
        // ones name it differently); a long reference carries a value that is not needed.
        uint16_t tag = c_.U16();
        if (tag == kNewClassTag) {
            ReadNewClass();
        } else if (tag == kLongClassTag) {
            c_.U32();
        }
        TEntJwwBlockDef def;
        def.common = ReadCommon(c_, version_);
        def.number = c_.U32();
        def.referenced = c_.U32();
        def.time = c_.I32();
        if (def.time < 0) {
            c_.Skip(8);  // a long time value, not needed
            def.time = position + 1;
        }
        def.name = ReadJwwString(c_);
        def.memberCount = ReadCount();
        ++running_;  // the definition object itself

        model_.blockDefs.push_back(std::move(def));
        TEntJwwBlockDef& current = model_.blockDefs.back();
        current.members.reserve(Reservable(current.memberCount, c_.Remaining(), kMinObjectBytes));
        for (int32_t done = 0; done < current.memberCount; ++done) {
            EJwwKind kind = ReadObjectTag();
            ReadObject(kind, current.records, &current.members);
            ++running_;
        }
        current.records.TrimToCounts();
    }

    TByteCursor& c_;
    int32_t version_;
    TJwwEntityModel& model_;
    int64_t running_ = 1;
    std::array<int64_t, 8> classOfKind_{};  // by kind code; -1 while not introduced
};

}  // namespace

void TJwwEntityModel::ReadEntities(TByteCursor& cursor, int32_t version)
{
    streamStart = cursor.Position();
    TStreamDecoder decoder(cursor, version, *this);
    try {
        decoder.ReadEntityList();
        TrimToCounts();
        decoder.ReadBlockDefinitionList();
    } catch (...) {
        TrimToCounts();
        if (!blockDefs.empty()) blockDefs.back().records.TrimToCounts();
        streamEnd = cursor.Position();
        throw;
    }
    streamEnd = cursor.Position();
}

TReadResult TJwwEntityModel::LoadStream(TByteCursor& cursor, std::string_view signature,
                                        const std::function<std::optional<int32_t>(TByteCursor&)>& readHeader)
{
    const TReadResult result = ReadGuarded(cursor, signature, [&](TByteCursor& cursor) {
        const std::optional<int32_t> version = readHeader(cursor);
        if (!version) return TReadStatus::Unsupported;
        ReadEntities(cursor, *version);
        return TReadStatus::Complete;
    });
    try {
        BuildBlockTrees();
    } catch (const std::bad_alloc&) {
        blockTrees = {};
    }
    return result;
}
