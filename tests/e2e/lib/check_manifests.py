#!/usr/bin/env python3
"""Checks the package managers' manifests that scripts/package filled into DIST.

  check_manifests.py SOURCE DIST

Each manifest must validate against its published schema (packaging/schemas/), name the
downloads beside it with their SHA256, and carry the one version the release has: the project
version in CMakeLists.txt, which must also head the newest release in CHANGELOG.md. Prints one
line per fault and exits 1 when there is any.
"""
import hashlib
import json
import os
import re
import sys

import jsonschema
import yaml

source, dist = sys.argv[1], sys.argv[2]
faults = []


def fault(text):
    faults.append(text)
    print("manifest: " + text)


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def validate(document, schema_file, name):
    with open(os.path.join(source, "packaging", "schemas", schema_file), encoding="utf-8") as f:
        schema = json.load(f)
    validator = jsonschema.Draft7Validator(schema)
    for error in validator.iter_errors(document):
        fault(f"{name}: {'/'.join(map(str, error.path))}: {error.message}")


with open(os.path.join(source, "CMakeLists.txt"), encoding="utf-8") as f:
    cmake_version = re.search(r"project\(Kelvane VERSION (\S+)", f.read()).group(1)
with open(os.path.join(source, "CHANGELOG.md"), encoding="utf-8") as f:
    releases = re.findall(r"^## \[(\d[^\]]*)\]", f.read(), re.MULTILINE)
if not releases or releases[0] != cmake_version:
    fault(f"the newest release in CHANGELOG.md is {releases[0] if releases else 'missing'}, "
          f"CMakeLists.txt says {cmake_version}")

setup = f"Kelvane-{cmake_version}-setup.exe"
portable = f"Kelvane-{cmake_version}-portable.zip"
for download in (setup, portable):
    if not os.path.isfile(os.path.join(dist, download)):
        fault(f"{download} (the version in CMakeLists.txt) is not in {dist}")

schemas = {"version": "manifest.version", "installer": "manifest.installer",
           "defaultLocale": "manifest.defaultLocale", "locale": "manifest.locale"}
seen = {}
winget = os.path.join(dist, "winget")
for name in sorted(os.listdir(winget)):
    with open(os.path.join(winget, name), encoding="utf-8") as f:
        manifest = yaml.safe_load(f)
    kind = manifest.get("ManifestType")
    if kind not in schemas:
        fault(f"{name}: unknown ManifestType {kind!r}")
        continue
    seen.setdefault(kind, []).append(manifest)
    validate(manifest, f"winget-1.9.0/{schemas[kind]}.1.9.0.json", name)
    if manifest.get("PackageVersion") != cmake_version:
        fault(f"{name}: PackageVersion {manifest.get('PackageVersion')}, not {cmake_version}")

if sorted(seen) != sorted(schemas) or [m["PackageLocale"] for m in seen.get("locale", [])] != ["zh-CN"]:
    fault(f"winget: a version, an installer, an en-US default locale and a zh-CN locale are wanted, "
          f"found {sorted(seen)}")
for installer_manifest in seen.get("installer", []):
    for entry in installer_manifest.get("AppsAndFeaturesEntries", []):
        if entry.get("DisplayVersion") != cmake_version:
            fault(f"winget: the Apps entry's version {entry.get('DisplayVersion')}, not {cmake_version}")
    for installer in installer_manifest["Installers"]:
        if not installer["InstallerUrl"].endswith("/" + setup):
            fault(f"winget: InstallerUrl {installer['InstallerUrl']} is not {setup}")
        if os.path.isfile(os.path.join(dist, setup)) and installer["InstallerSha256"].lower() != sha256(os.path.join(dist, setup)):
            fault("winget: InstallerSha256 is not the installer's")

with open(os.path.join(dist, "scoop", "kelvane.json"), encoding="utf-8") as f:
    scoop = json.load(f)
validate(scoop, "scoop-schema.json", "kelvane.json")
if scoop.get("version") != cmake_version:
    fault(f"kelvane.json: version {scoop.get('version')}, not {cmake_version}")
if "persist" in scoop:
    fault("kelvane.json: persist would leave a stale copy of files the program replaces when it saves")
download = scoop["architecture"]["64bit"]
if not download["url"].endswith("/" + portable):
    fault(f"kelvane.json: url {download['url']} is not {portable}")
if os.path.isfile(os.path.join(dist, portable)) and download["hash"].lower() != sha256(os.path.join(dist, portable)):
    fault("kelvane.json: hash is not the portable zip's")

sys.exit(1 if faults else 0)
