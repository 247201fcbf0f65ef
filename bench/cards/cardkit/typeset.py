"""Setting lines of text in boxes on a card: tracking, small capitals, label columns, icons, and
shrinking what does not fit."""
from dataclasses import dataclass, field, replace

from PIL import Image, ImageDraw

from . import fonts, icons

DPI = 300
PT = DPI / 72.0


def mm(v):
    return v * DPI / 25.4


@dataclass
class Style:
    family: str
    weight: str = "regular"
    size: float = 7.5          # points
    colour: tuple = (30, 30, 30)
    tracking: float = 0.0      # extra advance per character, in em
    caps: str = ""             # "", "upper" (set in capitals) or "small" (small capitals)

    def scaled(self, k):
        return replace(self, size=self.size * k)


@dataclass
class Line:
    text: str
    style: Style
    label: str = ""            # set in the block's label column
    label_style: Style = None
    icon: str = ""             # a round icon before the text (see icons.py)
    space_before: float = 0.0  # extra space above, in points
    wrap: bool = False         # may be broken in two where it is too wide (an address, a role)


@dataclass
class Block:
    x: float
    y: float
    w: float
    h: float
    lines: list = field(default_factory=list)
    align: str = "left"        # left, right, center
    valign: str = "top"        # top, center, bottom
    leading: float = 1.28
    icon_ink: tuple = (255, 255, 255)   # the letter or glyph inside a round icon


class Canvas:
    def __init__(self, width_px, height_px, paper):
        self.im = Image.new("RGB", (int(width_px), int(height_px)), paper)
        self.draw = ImageDraw.Draw(self.im)
        self.w, self.h = self.im.size

    # -- single runs ---------------------------------------------------------------------------
    def _runs(self, text, style):
        """(text, font) runs of a line: small capitals set lower-case letters as smaller capitals."""
        size = style.size * PT
        if style.caps == "upper":
            text = text.upper()
        runs = []
        for ch in text:
            small = style.caps == "small" and ch.islower()
            f = fonts.font_for(style.family, style.weight, size * (0.74 if small else 1.0), ch)
            c = ch.upper() if small else ch
            if runs and runs[-1][1] is f:
                runs[-1] = (runs[-1][0] + c, f)
            else:
                runs.append((c, f))
        return runs

    def width(self, text, style):
        extra = style.tracking * style.size * PT
        total = 0.0
        for run, f in self._runs(text, style):
            if extra:
                total += sum(f.getlength(c) + extra for c in run)
            else:
                total += f.getlength(run)
        return total - (extra if text and extra else 0)

    def text(self, x, baseline, text, style, fill=None):
        """Draws one line with its left end at x and its baseline at baseline; returns its width."""
        fill = fill or style.colour
        extra = style.tracking * style.size * PT
        pos = x
        for run, f in self._runs(text, style):
            if extra:
                for c in run:
                    self.draw.text((pos, baseline), c, font=f, fill=fill, anchor="ls")
                    pos += f.getlength(c) + extra
            else:
                self.draw.text((pos, baseline), run, font=f, fill=fill, anchor="ls")
                pos += f.getlength(run)
        return pos - x

    # -- blocks ------------------------------------------------------------------------------------
    def _fit(self, line, block, k):
        """The line's style and label style scaled by k and further until the line fits the width."""
        style = line.style.scaled(k)
        lstyle = (line.label_style or line.style).scaled(k)
        for _ in range(12):
            w = self._line_width(line, style, lstyle, block)
            if w <= block.w:
                break
            style, lstyle = style.scaled(0.95), lstyle.scaled(0.95)
        return style, lstyle

    def _label_column(self, block, k):
        labelled = [ln for ln in block.lines if ln.label]
        if not labelled:
            return 0.0
        return max(self.width(ln.label, (ln.label_style or ln.style).scaled(k)) for ln in labelled) + 2.2 * PT * k

    def _line_width(self, line, style, lstyle, block):
        w = self.width(line.text, style)
        if line.label:
            w += self._label_col
        if line.icon:
            w += style.size * PT * 1.55
        return w

    def _break(self, text):
        """Where a line too wide is broken: at the blank nearest its middle, or for Chinese and
        Japanese text after the character nearest it that is not a digit."""
        mid = len(text) // 2
        blanks = [i for i, c in enumerate(text) if c == " "]
        if blanks:
            return min(blanks, key=lambda i: abs(i - mid))
        cuts = [i for i in range(1, len(text)) if not text[i - 1].isascii() and not text[i].isdigit()]
        return min(cuts, key=lambda i: abs(i - mid)) if cuts else 0

    def _wrapped(self, block):
        out = []
        for ln in block.lines:
            width = self.width(ln.text, ln.style) + (ln.style.size * PT * 1.55 if ln.icon else 0)
            cut = self._break(ln.text) if ln.wrap and width > block.w * 1.05 else 0
            if not cut:
                out.append(ln)
                continue
            out.append(replace(ln, text=ln.text[:cut].rstrip()))
            out.append(replace(ln, text=ln.text[cut:].strip(), icon="", label="", space_before=0.0))
        return out

    def place(self, block):
        """Sets a block's lines, breaking an address or role line that is too wide, then shrinking
        them all when they are too tall together and any one that is still too wide on its own."""
        block.lines = self._wrapped(block)
        k = 1.0
        for _ in range(40):
            self._label_col = self._label_column(block, k)
            heights = [ln.style.size * PT * k * block.leading + ln.space_before * PT * k for ln in block.lines]
            if sum(heights) <= block.h:
                break
            k *= 0.95
        total = sum(heights)
        if block.valign == "center":
            y = block.y + (block.h - total) / 2
        elif block.valign == "bottom":
            y = block.y + block.h - total
        else:
            y = block.y
        for ln, hgt in zip(block.lines, heights):
            style, lstyle = self._fit(ln, block, k)
            y += ln.space_before * PT * k
            size = style.size * PT
            baseline = y + size * 0.95 + (hgt - ln.space_before * PT * k - size * block.leading) / 2
            width = self._line_width(ln, style, lstyle, block)
            if block.align == "right":
                x = block.x + block.w - width
            elif block.align == "center":
                x = block.x + (block.w - width) / 2
            else:
                x = block.x
            if ln.icon:
                d = size * 1.15
                icons.draw(self.draw, ln.icon, x, baseline - size * 0.36 - d / 2, d, ln.style.colour, block.icon_ink)
                x += size * 1.55
            if ln.label:
                self.text(x, baseline, ln.label, lstyle)
                x += self._label_col
            self.text(x, baseline, ln.text, style)
            y += hgt - ln.space_before * PT * k
        return y
