#!/usr/bin/env python3
"""Writes the demo study's tables (tab-delimited, as a lab exports them from
its analysis software) and its locus list into a folder.

The demo has four families with fathers and mothers, unrelated subjects, three
populations and 20 short tandem repeat loci. Some subjects were run twice,
with agreeing or conflicting pedigree data; some results and fragments are
excluded; one result has no subject; there is a no-call, an unknown-allele
call and a locus with three alleles; result names carry the instrument's
tracking suffix or trailing blanks; every result has traces for all four dyes.
Two patients have a normal and a tumour result each, named "Patient 1N..." and
"Patient 1T...", for the LOH workbook: the tumour keeps both alleles' balance
at most loci and has lost most of one allele at a few; one locus of the second
patient is homozygous.

Usage: make_demo_study.py OUTPUT_FOLDER
"""
import math
import os
import random
import sys

LOCI = [  # name, dye, size of the smallest allele, repeat length, allele range
    ("D3S1358", 1, 110, 4, (12, 19)), ("vWA", 1, 160, 4, (11, 21)),
    ("FGA", 1, 215, 4, (18, 30)), ("D8S1179", 2, 120, 4, (8, 19)),
    ("D21S11", 2, 185, 4, (24, 38)), ("D18S51", 2, 265, 4, (9, 26)),
    ("D5S818", 3, 135, 4, (7, 16)), ("D13S317", 3, 205, 4, (8, 15)),
    ("D7S820", 3, 255, 4, (6, 15)), ("TH01", 4, 165, 4, (4, 11)),
    ("TPOX", 4, 220, 4, (6, 13)), ("CSF1PO", 4, 280, 4, (6, 15)),
    ("D16S539", 1, 255, 4, (5, 15)), ("D2S1338", 2, 305, 4, (15, 28)),
    ("D19S433", 3, 105, 4, (9, 17)), ("Penta D", 4, 375, 5, (2, 17)),
    ("Penta E", 1, 380, 5, (5, 24)), ("D1S1656", 2, 90, 4, (9, 20)),
    ("D12S391", 3, 330, 4, (14, 27)), ("SE33", 4, 420, 4, (4, 37)),
]

FAMILIES = [  # pedigree, population, father, mother, children
    ("FAM1", "POP-A", "F1-01", "F1-02", ["F1-03", "F1-04"]),
    ("FAM2", "POP-A", "F2-01", "F2-02", ["F2-03"]),
    ("FAM3", "POP-B", "F3-01", "F3-02", ["F3-03", "F3-04", "F3-05"]),
    ("FAM4", "POP-C", "F4-01", "F4-02", ["F4-03"]),
]
UNRELATED = [("U-01", "POP-A"), ("U-02", "POP-B"), ("U-03", "POP-C"), ("U-04", "POP-B")]
SCANS = 240
# Subject, population, result name stem, wells of the normal and the tumour,
# loci where the tumour has lost most of its second allele, homozygous loci.
PATIENTS = [("P-01", "POP-A", "Patient 1", ("A11", "A12"), ["D3S1358", "D13S317"], []),
            ("P-02", "POP-B", "Patient 2", ("B11", "B12"), ["vWA"], ["TH01"])]


def patient_results():
    """(name, subject, loci the tumour lost, is the tumour) of each patient's two results."""
    out = []
    for sid, _, stem, (normal_well, tumour_well), lost, _ in PATIENTS:
        out.append(("%sN.%s_0407241200" % (stem, normal_well), sid, lost, False))
        out.append(("%sT.%s_0407241200" % (stem, tumour_well), sid, lost, True))
    return out


def main(out):
    rng = random.Random(20260407)
    os.makedirs(out, exist_ok=True)
    subjects = []  # id, pedigree, father, mother, gender, affectation, population
    genotypes = {}
    for ped, pop, father, mother, children in FAMILIES:
        subjects.append((father, ped, "", "", 1, rng.choice([1, 2]), pop))
        subjects.append((mother, ped, "", "", 2, rng.choice([1, 2]), pop))
        for sid in (father, mother):
            genotypes[sid] = {n: sorted(rng.randint(*r) for _ in range(2)) for n, _, _, _, r in LOCI}
        for child in children:
            subjects.append((child, ped, father, mother, rng.choice([1, 2]), rng.choice([0, 1, 2]), pop))
            genotypes[child] = {n: sorted([rng.choice(genotypes[father][n]), rng.choice(genotypes[mother][n])])
                                for n, _, _, _, _ in LOCI}
    for sid, pop in UNRELATED:
        subjects.append((sid, "", "", "", rng.choice([1, 2]), 1, pop))
        genotypes[sid] = {n: sorted(rng.randint(*r) for _ in range(2)) for n, _, _, _, r in LOCI}

    results = []  # name, subject, excluded
    for i, s in enumerate(subjects):
        well = "ABCDEFGH"[i % 8] + "%02d" % (i // 8 + 1)
        name = "Sample %d.%s_0407221455" % (i + 1, well) if i % 3 else "Sample %d   " % (i + 1)
        results.append((name, s[0], False))
    # Second runs: F1-03 agrees, F3-03 conflicts on gender, U-02 is excluded.
    results.append(("Sample F1-03 rerun.C09_0407231010", "F1-03", False))
    results.append(("Sample F3-03 rerun.D09_0407231010", "F3-03", False))
    results.append(("Sample U-02 rerun.E09_0407231010", "U-02", True))
    results.append(("Ladder.H12_0407221455", "", False))  # a result without a subject

    # The patients come from a generator of their own, so that every other
    # table stays as it was before they were added.
    patient_rng = random.Random(20261207)
    patient_genotypes = {}
    patient_heights = {}  # the normal's peak of each allele
    for sid, pop, _, _, _, homozygous in PATIENTS:
        subjects.append((sid, "", "", "", patient_rng.choice([1, 2]), 2, pop))
        patient_genotypes[sid] = {n: sorted(patient_rng.sample(range(r[0], r[1] + 1), 2))
                                  for n, _, _, _, r in LOCI}
        for locus in homozygous:
            patient_genotypes[sid][locus] = patient_genotypes[sid][locus][:1]
        patient_heights[sid] = {n: [patient_rng.randint(1200, 3000) for _ in range(2)]
                                for n, *_ in LOCI}


    with open(os.path.join(out, "results.tsv"), "w", newline="") as f:
        f.write("Result Name\tSubject ID\tExcluded\tAnalysis Revision\tArea Scale\n")
        for n, (name, sid, excluded) in enumerate(results):
            f.write("%s\t%s\t%d\t%d\t%s\n" % (name, sid, excluded, 3 if n % 4 == 0 else 2,
                                              "1.5" if n % 5 == 0 else "1"))
        for name, sid, _, _ in patient_results():
            f.write("%s\t%s\t0\t2\t1\n" % (name, sid))

    with open(os.path.join(out, "subjects.tsv"), "w", newline="") as f:
        f.write("Subject ID\tResult Name\tPedigree ID\tFather ID\tMother ID\tGender\t"
                "Affectation Status\tLiability Class\tPopulation ID\n")
        for sid, ped, father, mother, gender, aff, pop in subjects:
            f.write("%s\t\t%s\t%s\t%s\t%d\t%d\t%s\t%s\n" % (sid, ped, father, mother, gender, aff,
                                                             "1" if ped else "", pop))
        # The rerun of F3-03 was entered with the other gender.
        sid, ped, father, mother, gender, aff, pop = next(s for s in subjects if s[0] == "F3-03")
        f.write("%s\t%s\t%s\t%s\t%s\t%d\t%d\t1\t%s\n" % (sid, "Sample F3-03 rerun.D09_0407231010", ped,
                                                         father, mother, 3 - gender, aff, pop))

    with open(os.path.join(out, "fragments.tsv"), "w", newline="") as f:
        f.write("Result Name\tSubject ID\tLocus\tAllele ID\tComment\tDye\tFragment Size\t"
                "Peak Height\tPeak Area\tArea Divisor\tCondition Code\tExcluded\n")
        for ri, (name, sid, _) in enumerate(results):
            if not sid:  # the ladder: sizing peaks only, no locus
                for size in range(75, 500, 25):
                    f.write("%s\t\t\t\tsize standard\t4\t%d\t%d\t%d\t1\t0\t0\n" % (name, size, 900, 9000))
                continue
            for li, (locus, dye, base, repeat, _) in enumerate(LOCI):
                alleles = list(genotypes[sid][locus])
                if alleles[0] == alleles[1]:
                    alleles = alleles[:1]
                rows = []
                for a in alleles:
                    rows.append((str(a), base + repeat * (a - LOCI[li][4][0]), "", 0, 0))
                if sid == "F2-03" and locus == "TH01":
                    rows = [("", base + 10, "no call", 0, 0)]
                if sid == "U-03" and locus == "vWA":
                    rows = [("", base + 14, "off ladder", 512, 0)]
                if sid == "F4-03" and locus == "D18S51":
                    rows.append((str(LOCI[li][4][0] + 1), base + repeat, "third peak", 0, 0))
                if sid == "F1-04" and locus == "FGA":
                    rows[0] = rows[0][:4] + (1,)
                for allele, size, comment, condition, excluded in rows:
                    height = rng.randint(400, 3000)
                    area = height * rng.randint(8, 12)
                    f.write("%s\t%s\t%s\t%s\t%s\t%d\t%.2f\t%d\t%d\t%s\t%d\t%d\n" % (
                        name, sid, locus, allele, comment, dye, size + rng.random(), height, area,
                        "2" if ri % 7 == 0 else "1", condition, excluded))

        for name, sid, lost, tumour in patient_results():
            for locus, dye, base, repeat, allele_range in LOCI:
                for i, a in enumerate(patient_genotypes[sid][locus]):
                    height = patient_heights[sid][locus][i]
                    if tumour:
                        # The same balance as the normal's within 10%, but a
                        # lost allele keeps a quarter of its peak.
                        height = int(height * patient_rng.uniform(0.9, 1.1) *
                                     (0.25 if i == 1 and locus in lost else 1))
                    f.write("%s\t%s\t%s\t%d\t\t%d\t%.2f\t%d\t%d\t1\t0\t0\n" % (
                        name, sid, locus, a, dye, base + repeat * (a - allele_range[0]) + 0.3,
                        height, height * 10))

    with open(os.path.join(out, "traces.tsv"), "w", newline="") as f:
        f.write("Result Name\tDye\tScan\tValue\n")
        for name, _, _ in results:
            for dye in range(1, 5):
                peaks = [rng.randint(10, SCANS - 10) for _ in range(3)]
                for scan in range(SCANS):
                    v = 20 + sum(800 * math.exp(-((scan - p) / 2.5) ** 2) for p in peaks)
                    f.write("%s\t%d\t%d\t%.1f\n" % (name, dye, scan, v))
        for name, _, _, _ in patient_results():
            for dye in range(1, 5):
                for scan in range(SCANS):
                    f.write("%s\t%d\t%d\t20.0\n" % (name, dye, scan))

    with open(os.path.join(out, "LocusList.txt"), "w", newline="") as f:
        for locus, *_ in LOCI[:16]:
            f.write(locus + "\r\n")
        f.write("D22S1045\r\n")  # a locus the demo study lacks


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
