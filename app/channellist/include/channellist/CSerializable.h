#pragma once

class CArchive;

/// Base of every record that can stand behind an object tag in an archive.
/// A record writes and reads its fields in one Serialize, asking the archive
/// for its direction (IsStoring / IsLoading).
class CSerializable {
public:
    CSerializable() = default;
    CSerializable(const CSerializable&) = default;
    CSerializable& operator=(const CSerializable&) = default;
    virtual ~CSerializable() = default;

    /// The class name written in the archive's class description.
    virtual const char* ClassName() const = 0;
    virtual void Serialize(CArchive& ar) = 0;

    bool operator==(const CSerializable&) const = default;
};
