#pragma once

class CArchiveReader;
class CArchiveWriter;

/// Base of every record that can stand behind an object tag in an archive.
/// Load reads the record's fields (a fault stays in the reader, see
/// CArchiveReader); Store writes them and leaves the record as it is.
class CSerializable {
  public:
    CSerializable() = default;
    CSerializable(const CSerializable&) = default;
    CSerializable& operator=(const CSerializable&) = default;
    virtual ~CSerializable() = default;

    /// The class name written in the archive's class description.
    virtual const char* ClassName() const = 0;
    virtual void Load(CArchiveReader& in) = 0;
    virtual void Store(CArchiveWriter& out) const = 0;

    bool operator==(const CSerializable&) const = default;
};
