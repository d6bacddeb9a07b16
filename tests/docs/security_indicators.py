"""docs/security.md's Defender for Endpoint indicators: each JSON body is one
Microsoft's "Submit or Update Indicator API" takes (its parameters, their
enumerations and types, as that page documents them), scoped to device
groups and a time, and the files they are said to cover are the ones the
release signs and lists in SHA256SUMS.

  security_indicators.py <source root>
"""

import datetime
import json
import pathlib
import re
import sys

ROOT = pathlib.Path(sys.argv[1])

# https://learn.microsoft.com/defender-endpoint/api/post-ti-indicator
REQUIRED = {"indicatorValue", "indicatorType", "action", "title", "description"}
OPTIONAL = {"application", "expirationTime", "severity", "recommendedActions", "rbacGroupNames",
            "educateUrl", "generateAlert"}
ENUMS = {
    "indicatorType": {"FileSha1", "FileMd5", "CertificateThumbprint", "FileSha256", "IpAddress", "DomainName", "Url"},
    "action": {"Alert", "Warn", "Block", "Audit", "BlockAndRemediate", "AlertAndBlock", "Allowed"},
    "severity": {"Informational", "Low", "Medium", "High"},
}
VALUE = {"FileSha256": r"[0-9a-fA-F]{64}", "CertificateThumbprint": r"[0-9a-fA-F]{40}"}

problems = []
text = (ROOT / "docs" / "security.md").read_text()
bundle = (ROOT / "scripts" / "bundle.sh").read_text()
signed = re.search(r"for file in ([^;]+); do\n\s+osslsigncode sign", bundle).group(1).split()
summed = re.search(r"sha256sum ([^>]+)>SHA256SUMS", bundle).group(1).split()

bodies = [json.loads(b) for b in re.findall(r"^```json\n(.*?)^```", text, re.S | re.M)]
kinds = {}
for body in bodies:
    name = body.get("title", "?")
    missing, unknown = REQUIRED - set(body), set(body) - REQUIRED - OPTIONAL
    if missing or unknown:
        problems.append(f"{name}: missing {sorted(missing)}, not the API's {sorted(unknown)}")
    for key, allowed in ENUMS.items():
        if key in body and body[key] not in allowed:
            problems.append(f"{name}: {key} {body[key]!r} is none of {sorted(allowed)}")
    value, kind = body.get("indicatorValue", ""), body.get("indicatorType")
    if not (re.fullmatch(r"<[^<>]+>", value) or re.fullmatch(VALUE.get(kind, ".+"), value)):
        problems.append(f"{name}: {value!r} is no {kind} and no <placeholder>")
    # Unscoped, an Allowed indicator covers the whole tenant for ever.
    try:
        datetime.datetime.fromisoformat(body.get("expirationTime", "").replace("Z", "+00:00"))
    except ValueError:
        problems.append(f"{name}: no expirationTime as a date and time")
    groups = body.get("rbacGroupNames")
    if not (isinstance(groups, list) and groups and all(isinstance(g, str) and g for g in groups)):
        problems.append(f"{name}: no rbacGroupNames")
    kinds.setdefault(kind, []).append(body)

if sorted(kinds) != ["CertificateThumbprint", "FileSha256"]:
    problems.append(f"indicators of kinds {sorted(kinds)}, not one per file hash and one certificate")
for cert in kinds.get("CertificateThumbprint", []):
    left_out = [f for f in signed if f not in cert["description"]]
    if left_out:
        problems.append(f"the certificate indicator covers {left_out} too and does not say so")
# The text before the file-hash body lists the programs it is made for.
listed = re.search(r"First, per release.*?`SHA256SUMS`: (.*?)\.\s+Each", text, re.S)
listed = re.findall(r"`([^`]+)`", listed.group(1)) if listed else []
if sorted(listed) != sorted(signed) or not set(listed) <= set(summed):
    problems.append(f"per-file indicators for {listed}; the release signs {signed} and sums {summed}")

for p in problems:
    print("security_indicators:", p)
if not problems:
    print(f"security_indicators: {len(bodies)} indicator bodies as the API takes them, scoped; "
          f"the files are those the release signs: {', '.join(signed)}")
sys.exit(1 if problems else 0)
