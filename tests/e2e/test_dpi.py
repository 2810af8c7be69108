"""The settings dialog at 96 and at 144 dots per inch: it grows with the DPI, every control lies
inside its client area, and no two controls overlap.

The one overlap the layout has is by design and is allowed: the slider's window reaches one dialog
unit up into the row of labels above it ("20", the new rate, "200"), where the trackbar draws
nothing."""
import sys
import unittest

import koravel_e2e as e2e

LABELS_ABOVE_SLIDER = {(-1, "20"), (e2e.NEW_TEXT, None), (-1, "200")}


def box(c):
    return c["x"], c["y"], c["x"] + c["w"], c["y"] + c["h"]


def overlap(a, b):
    ax0, ay0, ax1, ay1 = box(a)
    bx0, by0, bx1, by1 = box(b)
    return max(0, min(ax1, bx1) - max(ax0, bx0)), max(0, min(ay1, by1) - max(ay0, by0))


class DpiTest(e2e.KoravelTestCase):
    def tearDown(self):
        e2e.probe("dpi", 96)
        super().tearDown()

    def layout(self, dpi):
        e2e.probe("dpi", dpi)
        run = self.start()
        w = e2e.window(e2e.SETTINGS)
        e2e.key("Escape")
        self.assertEnds(run)
        return w

    def test_layout_holds_at_96_and_144_dpi(self):
        e2e.set_value("dword", 200)
        sizes = {}
        for dpi in (96, 144):
            with self.subTest(dpi=dpi):
                w = self.layout(dpi)
                sizes[dpi] = w.info["w"]
                cx, cy, cw, ch = w.info["client"]
                unit = w.control(text="OK")["h"] / 14  # the buttons are 14 dialog units high
                for c in w.controls:
                    x0, y0, x1, y1 = box(c)
                    self.assertTrue(cx <= x0 and cy <= y0 and x1 <= cx + cw and y1 <= cy + ch,
                                    f"{c['text']!r} lies outside the client area")
                for i, a in enumerate(w.controls):
                    for b in w.controls[i + 1:]:
                        across, down = overlap(a, b)
                        if not (across and down):
                            continue
                        pair = {(a["id"], a["text"]), (b["id"], b["text"])}
                        slider_and_label = any(p[0] == e2e.SLIDER for p in pair) and any(
                            (p[0], None if p[0] == e2e.NEW_TEXT else p[1]) in LABELS_ABOVE_SLIDER
                            for p in pair)
                        self.assertTrue(slider_and_label and down <= unit + 1,
                                        f"{a['text']!r} overlaps {b['text']!r}")
        self.assertGreater(sizes[144], sizes[96] * 1.3, "the dialog scales with the DPI")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
