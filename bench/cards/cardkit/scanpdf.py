"""A one-page PDF holding one 300 dpi JPEG, as the scanner software writes it."""

CREATOR = "Brevix Manager V6.2"


def write(path, jpeg, width, height, grey):
    """Writes the page at the image's size (72 points to 300 pixels)."""
    pw, ph = width * 72.0 / 300, height * 72.0 / 300
    content = b"q %.4f 0 0 %.4f 0 0 cm /Im0 Do Q" % (pw, ph)
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 %.4f %.4f] /Resources << /XObject << /Im0 4 0 R >> >> "
        b"/Contents 5 0 R >>" % (pw, ph),
        b"<< /Type /XObject /Subtype /Image /Width %d /Height %d /ColorSpace /%s /BitsPerComponent 8 "
        b"/Filter /DCTDecode /Length %d >>\nstream\n" % (width, height, b"DeviceGray" if grey else b"DeviceRGB", len(jpeg))
        + jpeg + b"\nendstream",
        b"<< /Length %d >>\nstream\n" % len(content) + content + b"\nendstream",
        b"<< /Producer (%s) /Creator (%s) >>" % (CREATOR.encode(), CREATOR.encode()),
    ]
    out = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for i, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % i + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for off in offsets:
        out += b"%010d 00000 n \n" % off
    out += b"trailer\n<< /Size %d /Root 1 0 R /Info 6 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    with open(path, "wb") as f:
        f.write(out)
