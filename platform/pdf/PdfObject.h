// Read access to the objects of an open PdfDocument (numbers, names, arrays, dictionaries,
// streams) and to its pages, without the PDF library's types. Copies share the object.
// A read of a damaged file may throw std::exception, as the document's own reads do: callers
// catch it around each file operation. A default-made object is the null object.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class PdfObject {
public:
    PdfObject();
    ~PdfObject();
    PdfObject(const PdfObject&);
    PdfObject& operator=(const PdfObject&);

    bool isNull() const;
    bool isBool() const;
    bool boolValue() const;
    bool isInteger() const;
    long long intValue() const;
    // An integer or a real; nothing for any other object.
    std::optional<double> number() const;
    bool isName() const;
    // The name with its "/", as in "/XObject".
    std::string name() const;
    bool isName(const std::string& name) const;

    bool isArray() const;
    int arraySize() const;
    PdfObject item(int index) const;
    std::vector<PdfObject> items() const;

    bool isDictionary() const;
    bool hasKey(const std::string& key) const;
    // The value of `key` ("/Type"); the null object when absent.
    PdfObject key(const std::string& key) const;
    // Keys (with their "/") and values in key order.
    std::vector<std::pair<std::string, PdfObject>> entries() const;

    // A stream's dictionary and data: as stored, with the general filters (Flate, LZW, run length,
    // ASCII) undone, or with the image filters (DCT) undone too where the library can. Data past
    // kMaxPdfDecodedBytes (PdfLimits.h) throws std::length_error before any of it is kept.
    bool isStream() const;
    PdfObject streamDictionary() const;
    enum class Decoding { Raw, General, Specialized };
    std::string streamData(Decoding decoding) const;

    // A rectangle array of four numbers, as width and height (x2 - x1, y2 - y1).
    bool boxSize(double& width, double& height) const;

    // The library's object, defined only inside platform/pdf (PdfHandles.h).
    struct Handle;
    explicit PdfObject(std::shared_ptr<const Handle> handle);
    const Handle& handle() const { return *m_handle; }

private:
    std::shared_ptr<const Handle> m_handle;
};

// A page of an open PdfDocument; it changes the document it belongs to.
class PdfPage {
public:
    ~PdfPage();
    PdfPage(const PdfPage&);
    PdfPage& operator=(const PdfPage&);

    // The page dictionary.
    PdfObject object() const;
    // An entry of the page, or inherited from its parents ("/Resources", "/Rotate"); null when none.
    PdfObject attribute(const std::string& key) const;
    PdfObject mediaBox() const;

    // Turns the page by a multiple of 90 degrees, clockwise, on top of its present /Rotate.
    void rotate(int degrees);
    // Removes the page's own /Rotate.
    void removeRotation();
    // Drops the resources its content does not use (resources shared by several pages).
    void removeUnreferencedResources();

    // The library's page, defined only inside platform/pdf (PdfHandles.h).
    struct Handle;
    explicit PdfPage(std::shared_ptr<Handle> handle);
    Handle& handle() const { return *m_handle; }

private:
    std::shared_ptr<Handle> m_handle;
};
