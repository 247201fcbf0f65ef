#!/usr/bin/env python3
"""A small batch as a user hands it over: copies of one scanner card given to a running Pelmora.

  bench/ocr/small_batch.py STAGE CARD.pdf [--copies 20] [--rounds 3]

Starts STAGE/Pelmora in a temporary home (automatic language), hands it the copies with a second
launch and times until every card has its e-mail address stored; then times one `tesseract`
process (English, one thread) reading the same images from a list. Prints both, their ratio, and the peak
resident size of each OCR application of the run. Pin it to cores with `taskset` to compare builds.
"""
import argparse
import os
import plistlib
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time

DOMAIN = "com.orvane.zor.Pelmora"
PREFS = {"recognize language": 2048, "Auto run merge card function items": 0}


def first_jpeg(path):
    data = open(path, "rb").read()
    start = data.find(b"\xff\xd8\xff")
    end = data.find(b"endstream", start)
    return data[start:end].rstrip(b"\r\n ") if start >= 0 and end > start else None


def ocr_peaks(session):
    """Peak resident size in MiB of each OCR application of the program's session."""
    peaks = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            if os.getsid(int(pid)) != session or "Quillant" not in os.readlink("/proc/%s/exe" % pid):
                continue
            for line in open("/proc/%s/status" % pid):
                if line.startswith("VmHWM:"):
                    peaks.append(int(line.split()[1]) / 1024.0)
        except OSError:
            continue
    return sorted(peaks)


def run_pelmora(stage, card, copies):
    home = tempfile.mkdtemp(prefix="small-batch.")
    try:
        for d in ("Documents", ".config", ".local/share", "run", "in"):
            os.makedirs(os.path.join(home, d), exist_ok=True)
        os.chmod(os.path.join(home, "run"), 0o700)
        with open(os.path.join(home, ".config", DOMAIN + ".plist"), "wb") as f:
            plistlib.dump(PREFS, f)
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home + "/.config", XDG_DATA_HOME=home + "/.local/share",
                   XDG_RUNTIME_DIR=home + "/run", XDG_DOCUMENTS_DIR=home + "/Documents", QT_QPA_PLATFORM="offscreen")
        store = os.path.join(home, "Documents", "Pelmora", "Pelmora DB.cxdb", "Pelmora1.sqldb")
        log = open(os.path.join(home, "app.log"), "ab")
        proc = subprocess.Popen([os.path.join(stage, "Pelmora")], env=env, stdout=log, stderr=subprocess.STDOUT,
                                stdin=subprocess.DEVNULL, start_new_session=True)
        try:
            for _ in range(240):
                if os.path.isfile(store) or proc.poll() is not None:
                    break
                time.sleep(0.25)
            if not os.path.isfile(store):
                sys.exit("Pelmora made no database (see %s/app.log)" % home)
            paths = []
            for i in range(copies):
                paths.append(os.path.join(home, "in", "card-%02d.pdf" % i))
                shutil.copyfile(card, paths[-1])
            t0 = time.monotonic()
            subprocess.run([os.path.join(stage, "Pelmora")] + paths, env=env, stdout=log, stderr=subprocess.STDOUT,
                           stdin=subprocess.DEVNULL, timeout=120)
            while time.monotonic() - t0 < 600 and proc.poll() is None:
                try:
                    con = sqlite3.connect("file:%s?mode=ro" % store, uri=True, timeout=5)
                    done = con.execute("select count(*) from ZCARD where ZE_MAIL like '%@%'").fetchone()[0]
                    con.close()
                except sqlite3.Error:
                    done = 0
                if done >= copies:
                    break
                time.sleep(0.01)
            elapsed = time.monotonic() - t0
            return elapsed, ocr_peaks(proc.pid)
        finally:
            if proc.poll() is None:
                os.killpg(proc.pid, signal.SIGTERM)
                try:
                    proc.wait(20)
                except subprocess.TimeoutExpired:
                    pass
            try:
                os.killpg(proc.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
    finally:
        shutil.rmtree(home, ignore_errors=True)


def run_tesseract(card, copies):
    folder = tempfile.mkdtemp(prefix="small-batch-tess.")
    try:
        jpeg = first_jpeg(card)
        names = []
        for i in range(copies):
            names.append(os.path.join(folder, "card-%02d.jpg" % i))
            open(names[-1], "wb").write(jpeg)
        listing = os.path.join(folder, "list.txt")
        open(listing, "w").write("\n".join(names) + "\n")
        t0 = time.monotonic()
        # One thread, as the OCR application runs it: the engine's OpenMP threads spin while they
        # wait, and on a busy machine make one card take minutes.
        subprocess.run(["tesseract", listing, "stdout", "-l", "eng"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       check=True, env=dict(os.environ, OMP_THREAD_LIMIT="1"))
        return time.monotonic() - t0
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("stage")
    ap.add_argument("card")
    ap.add_argument("--copies", type=int, default=20)
    ap.add_argument("--rounds", type=int, default=3)
    args = ap.parse_args()
    for r in range(args.rounds):
        ours, peaks = run_pelmora(args.stage, args.card, args.copies)
        anchor = run_tesseract(args.card, args.copies)
        print("round %d: Pelmora %.2f s, tesseract %.2f s, ratio %.2f; OCR applications' peak MiB: %s"
              % (r + 1, ours, anchor, ours / anchor, " ".join("%.0f" % p for p in peaks)), flush=True)


if __name__ == "__main__":
    main()
