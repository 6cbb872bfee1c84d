#pragma once
// The shape every reader has, one file at a time:
//
//   CheckSignature(path)     the file's first bytes are the reader's kSignature
//   LoadFrom(cursor)         (the reader's own) reads a file through a cursor; NotThisFormat
//                            when it lacks the signature, else how far reading got
//   LoadBytes(bytes)         LoadFrom over a file held in memory
//   LoadFile(path)           LoadFrom over the file, read a window at a time; Unreadable or
//                            TooLarge, with the reader empty, when it cannot be read
//   ImportPens(attributes)   the file's own pen colours; here none
//   LoadLayers(attributes)   the file's layer states; here every layer shown
//   Clear()                  frees everything: the reader becomes a new one
//
// A reader derives from TDrawingReader<itself>, is complete when default-constructed, and
// hides ImportPens or LoadLayers when its format has pens or layer states of its own.
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "attributes/UnitGraAtt.h"
#include "formats/FileBytes.h"
#include "formats/ReadResult.h"
#include "util/ByteCursor.h"

// Runs `read` over the cursor's bytes when they begin with `signature` (NotThisFormat at
// offset 0 when they do not) and sorts out its ending: the status `read` answers, Damaged when
// a read fails and TooLarge when memory runs out; the offset is where the cursor stood.
TReadResult ReadGuarded(TByteCursor& cursor, std::string_view signature,
                        const std::function<TReadStatus(TByteCursor&)>& read);

// Sets all 256 layers shown, after ResetLayers.
void ShowEveryLayer(TgraAttribute& attributes);

template <class Reader> class TDrawingReader {
public:
    bool CheckSignature(const std::filesystem::path& path) const { return FileStartsWith(path, Reader::kSignature); }

    TReadResult LoadFile(const std::filesystem::path& path)
    {
        Reader& reader = static_cast<Reader&>(*this);
        reader.Clear();
        std::optional<TByteCursor> cursor;
        if (const TReadResult opened = OpenFileCursor(path, cursor); !opened) return opened;
        return reader.LoadFrom(*cursor);
    }

    TReadResult LoadBytes(std::span<const std::byte> bytes)
    {
        TByteCursor cursor(bytes);
        return static_cast<Reader&>(*this).LoadFrom(cursor);
    }

    // Moving a new reader in gives the lists' memory back, which clearing them would not.
    void Clear() { static_cast<Reader&>(*this) = Reader(); }

    void ImportPens(TgraAttribute&) const {}
    void LoadLayers(TgraAttribute& attributes) const { ShowEveryLayer(attributes); }

protected:
    ~TDrawingReader() = default;
};
