// A property-list file of the linkage: a path and a root dictionary, read and written whole.
// Failures are status codes (LinkageStatus.h); a failed read leaves the object as it was and a
// failed write leaves the file as it was. Subclasses add their own parse, validate and save.
#pragma once

#include "platform/foundation/PlistValue.h"

#include <QString>

#include <optional>

class PLPropertyFile {
public:
    explicit PLPropertyFile(const QString& fullFilePath = QString());
    virtual ~PLPropertyFile() = default;

    // Reads the file into the root: 0, -2, -1002, -1003, -2001 or -2004.
    int open();
    virtual int parse();
    virtual int validate();
    virtual int save();
    // Writes the root as an XML property list: 0, -1, -2001, -1002, -1005, -1001 or -1004.
    int saveToFile(const QString& path);

    QString fullFilePath() const { return _fullFilePath; }
    void setFullFilePath(const QString& path) { _fullFilePath = path; }
    // The root; nullopt when there is none.
    std::optional<PlistValue::Dictionary> contents() const { return _contents; }
    void setContents(const std::optional<PlistValue::Dictionary>& contents) { _contents = contents; }
    // The root's value; null for an empty key or no root.
    PlistValue valueForKey(const QString& key) const;
    // Does nothing for a null value, an empty key or no root.
    void setValue(const PlistValue& value, const QString& key);

private:
    QString _fullFilePath;
    std::optional<PlistValue::Dictionary> _contents = PlistValue::Dictionary();
};
