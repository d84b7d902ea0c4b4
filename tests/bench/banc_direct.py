#!/usr/bin/env python3
"""Launcher benchmark, each program started directly by `wine` from Linux (no Windows parent).

    banc_direct.py <dossier Linux de banc_lancement> <tours> <Tolvane_Lanceur.exe> <plancher.exe>

Reuses the folder banc_lancement.exe prepared (the launcher copy and its Tolvane.ini, the maj
directory with the probe, lance.bat). Interleaved A B C A B C..., a warm-up round left out;
for each program two times, both from the moment `wine` is spawned:
  - to its end (what a user or a Run entry waits for, and what hyperfine measures);
  - to the probe's own record of its start (the performance counter, read back on Linux's
    monotonic clock, which is the one Wine's counter runs on);
and the processor time of the program's own process.
Prints Markdown tables: the rounds, then the medians; ratios are taken round by round.
"""
import os
import statistics
import subprocess
import sys
import time


def horloge_sonde():
    # Wine's performance counter: CLOCK_MONOTONIC_RAW in 100 ns units, else CLOCK_MONOTONIC.
    for nom in ("CLOCK_MONOTONIC_RAW", "CLOCK_MONOTONIC"):
        if hasattr(time, nom):
            return getattr(time, nom)
    raise SystemExit("banc_direct: no monotonic clock")


def main():
    if len(sys.argv) != 5:
        raise SystemExit(__doc__)
    racine, lanceur, plancher = (os.path.abspath(a) for a in (sys.argv[1], sys.argv[3], sys.argv[4]))
    tours = int(sys.argv[2])
    horloge = horloge_sonde()
    temps_sonde = os.path.join(racine, "sonde.t")
    racine_win = subprocess.run(["winepath", "-w", racine], capture_output=True, text=True,
                                check=True).stdout.strip()
    env = dict(os.environ, CHRONO_SONDE=racine_win + "\\sonde.t")
    programmes = [
        ("Tolvane_Lanceur", ["wine", lanceur], os.path.dirname(lanceur)),
        ("plancher", ["wine", plancher, racine_win + "\\maj"], racine),
        ("lot cmd.exe", ["wine", "cmd.exe", "/c", racine_win + "\\lance.bat"], racine),
    ]

    def mesure(ligne, dossier):
        try:
            os.unlink(temps_sonde)
        except FileNotFoundError:
            pass
        t0 = time.clock_gettime_ns(horloge)
        p = subprocess.Popen(ligne, cwd=dossier, env=env, stdin=subprocess.DEVNULL,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # A blocking wait: Popen.wait with a timeout polls, in steps of up to 50 ms.
        _, _, usage = os.wait4(p.pid, 0)
        fin = (time.clock_gettime_ns(horloge) - t0) / 1e6
        p.returncode = 0  # reaped above
        cpu = (usage.ru_utime + usage.ru_stime) * 1000
        # The probe may still be starting when its parent has ended: wait for its record.
        limite = time.monotonic() + 30
        while not os.path.exists(temps_sonde):
            if time.monotonic() > limite:
                raise SystemExit(f"banc_direct: {ligne[1]} did not start the probe")
            time.sleep(0.002)
        with open(temps_sonde) as f:
            sonde = (int(f.read()) * 100 - t0) / 1e6
        time.sleep(0.03)  # let the probe finish exiting before the next run
        return fin, sonde, cpu

    noms = [nom for nom, _, _ in programmes]
    fins = {nom: [] for nom in noms}
    sondes = {nom: [] for nom in noms}
    cpus = {nom: [] for nom in noms}
    rapports = {"fin": [], "sonde": []}
    print("| tour | " + " | ".join(f"{n} fin / sonde (ms)" for n in noms)
          + " | lanceur/plancher fin | lanceur/plancher sonde |")
    print("|---:|" + "---:|" * (len(noms) + 2))
    for tour in range(tours + 1):
        r = [mesure(ligne, dossier) for _, ligne, dossier in programmes]
        if tour == 0:
            continue  # warm-up: first loads from disk
        for nom, (fin, sonde, cpu) in zip(noms, r):
            fins[nom].append(fin)
            sondes[nom].append(sonde)
            cpus[nom].append(cpu)
        rapports["fin"].append(r[0][0] / r[1][0])
        rapports["sonde"].append(r[0][1] / r[1][1])
        cellules = " | ".join(f"{f:.1f} / {s:.1f}" for f, s, _ in r)
        print(f"| {tour} | {cellules} | {rapports['fin'][-1]:.3f} | {rapports['sonde'][-1]:.3f} |")
    med = statistics.median
    cellules = " | ".join(f"**{med(fins[n]):.1f} / {med(sondes[n]):.1f}**" for n in noms)
    print(f"| **médiane** | {cellules} | **{med(rapports['fin']):.3f}** | **{med(rapports['sonde']):.3f}** |")
    # The least disturbed round of each: on a busy machine, the nearest to an idle one.
    cellules = " | ".join(f"{min(fins[n]):.1f} / {min(sondes[n]):.1f}" for n in noms)
    print(f"| minimum | {cellules} | {min(fins[noms[0]]) / min(fins[noms[1]]):.3f} "
          f"| {min(sondes[noms[0]]) / min(sondes[noms[1]]):.3f} |")
    ecart = med(fins[noms[0]]) - med(fins[noms[1]])
    print(f"\nÉcart des médianes (fin) lanceur − plancher : {ecart:+.1f} ms")
    # Processor time of the program's own process (user + system): what the load changes least.
    print("Temps processeur du processus lui-même, médianes : "
          + ", ".join(f"{n} {med(cpus[n]):.1f} ms" for n in noms[:2])
          + f" (rapport {med(cpus[noms[0]]) / med(cpus[noms[1]]):.3f})")


if __name__ == "__main__":
    main()
