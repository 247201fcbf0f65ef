"""What a desktop scanner does to a card: a tinted or unevenly lit sheet, a dark bed around it,
a slight skew, blur, sensor noise, grey-scale, a card laid sideways or upside down, and JPEG."""
import io

from PIL import Image, ImageChops, ImageFilter

from .typeset import mm

TINTS = [(250, 244, 228), (238, 242, 248), (244, 240, 232), (236, 236, 232)]


def _shade(im, rng):
    """Light falling off towards one side, as on a lid that does not close flat."""
    w, h = im.size
    low = rng.uniform(0.86, 0.95)
    ramp = Image.linear_gradient("L").rotate(rng.choice([0, 90, 180, 270])).resize((w, h))
    ramp = ramp.point(lambda v: int(255 * (low + (1 - low) * v / 255)))
    return ImageChops.multiply(im, Image.merge("RGB", [ramp] * 3))


def _bed(im, rng, record):
    """The dark scanner bed showing along some edges of the card."""
    w, h = im.size
    grey = rng.randrange(25, 80)
    pads = [int(mm(rng.uniform(1, 4))) if rng.random() < 0.6 else 0 for _ in range(4)]
    if not any(pads):
        pads[rng.randrange(4)] = int(mm(2))
    out = Image.new("RGB", (w + pads[0] + pads[2], h + pads[1] + pads[3]), (grey, grey, grey + 4))
    out.paste(im, (pads[0], pads[1]))
    record["bed"] = grey
    return out, (grey, grey, grey + 4)


def scan(im, rng, record):
    """The scanned image of a drawn card and the JPEG bytes; record gets what was done."""
    fill = (255, 255, 255)
    if rng.random() < 0.2:
        tint = rng.choice(TINTS)
        im = ImageChops.multiply(im, Image.new("RGB", im.size, tint))
        record["tint"] = "#%02x%02x%02x" % tint
    if rng.random() < 0.25:
        im = _shade(im, rng)
        record["shade"] = True
    if rng.random() < 0.18:
        im, fill = _bed(im, rng, record)
    if rng.random() < 0.45:
        angle = round(rng.uniform(-2.5, 2.5), 2)
        im = im.rotate(angle, resample=Image.BICUBIC, expand=True, fillcolor=fill)
        record["skew"] = angle
    if rng.random() < 0.3:
        radius = round(rng.uniform(0.4, 1.2), 2)
        im = im.filter(ImageFilter.GaussianBlur(radius))
        record["blur"] = radius
    if rng.random() < 0.35:
        sigma = round(rng.uniform(3, 10), 1)
        noise = Image.effect_noise(im.size, sigma)
        im = ImageChops.add(im, Image.merge("RGB", [noise] * 3), 1.0, -128)
        record["noise"] = sigma
    if rng.random() < 0.3:
        im = im.convert("L")
        record["grey"] = True
    if rng.random() < 0.15:
        turn = rng.choice([90, 180, 270])
        im = im.transpose({90: Image.ROTATE_90, 180: Image.ROTATE_180, 270: Image.ROTATE_270}[turn])
        record["turned"] = turn
    quality = rng.randrange(65, 93)
    record["quality"] = quality
    buf = io.BytesIO()
    im.save(buf, "JPEG", quality=quality, dpi=(300, 300))
    return im, buf.getvalue()
