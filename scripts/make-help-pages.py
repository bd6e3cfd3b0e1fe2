#!/usr/bin/env python3
"""Writes data/help/<topic>.html for every help topic of the shipped device descriptions.

The pages are built from the descriptions' own texts (French), their limits, units and
choices, plus the short notes below on how parameters work together. Run it again after
a description changes: python3 scripts/make-help-pages.py
"""
import html
import pathlib
import xml.etree.ElementTree as ET

ROOT = pathlib.Path(__file__).resolve().parent.parent
DESCRIPTIONS = ROOT / "data" / "DeviceDescription"
HELP = ROOT / "data" / "help"

KINDS = {
    "ParameterGroup": "Groupe de paramètres",
    "ParameterValueByte": "Nombre entier (8 bits)",
    "ParameterValueShort": "Nombre entier (16 bits)",
    "ParameterValueLong": "Nombre entier (32 bits)",
    "ParameterValueLongFloat": "Nombre décimal à virgule fixe",
    "ParameterValueFloat": "Nombre décimal",
    "ParameterValueString": "Texte",
    "ParameterValueHexBinary": "Données hexadécimales",
    "ParameterValueDate": "Date",
    "ParameterEnumString": "Liste de choix",
    "ParameterEnumFloat": "Liste de valeurs",
    "ParameterToggle": "Interrupteur (activé / désactivé)",
    "ParameterBitMask": "Masque de bits (fenêtre des bits)",
    "ParameterActionByte": "Action (bouton dans la grille)",
    "ParameterActionLong": "Action (bouton dans la grille)",
}
ACCESS = {"RO": "lecture seule", "WO": "écriture seule", "RW": "lecture et écriture"}
INTERFACES = {"1": "CAN (CANopen)", "2": "PROFIBUS", "4": "RS232", "5": "DeviceNet"}

# How a parameter works together with others, by member name.
NOTES = {
    "ValueGros": "La valeur brute est la valeur mise à l'échelle avant la tare. "
                 "La valeur nette est la valeur brute moins la tare (voir « Tarage »).",
    "ValueNet": "Valeur brute moins la tare. Le signal affiché et enregistré (net ou brut) se choisit "
                "dans la fenêtre principale ou dans les options (« Signal standard »).",
    "PeakMax": "Remis à la valeur actuelle par l'action « Effacer les valeurs crête ».",
    "PeakMin": "Remis à la valeur actuelle par l'action « Effacer les valeurs crête ».",
    "Zero": "Prend le signal d'entrée actuel comme nouveau zéro (voir « Décalage du zéro »).",
    "ZeroOffset": "Écrit par la mise à zéro ; vous pouvez aussi le saisir. Il agit sur la valeur brute "
                  "et donc aussi sur la valeur nette.",
    "Tare": "Prend la valeur brute actuelle comme tare : la valeur nette passe à zéro, la valeur brute ne change pas.",
    "TareOffset": "Écrite par le tarage et remise à zéro par « Effacer la tare ». Valeur nette = valeur brute - tare.",
    "ClearTare": "Remet la tare à zéro : la valeur nette redevient égale à la valeur brute.",
    "AutoZeroTracking": "Corrige lentement les petites dérives autour du zéro. À désactiver pour mesurer "
                        "des charges qui changent très lentement.",
    "MeasuringRange": "La plage de mesure limite le signal d'entrée admis ; au-delà l'état de l'appareil "
                      "signale une surcharge.",
    "Sensitivity": "Avec la charge nominale, elle fixe la mise à l'échelle quand la source de mise à l'échelle "
                   "est « Sensibilité du capteur ».",
    "NominalLoad": "Valeur de sortie qui correspond à la sensibilité du capteur.",
    "Filter": "Plus la fréquence de coupure est basse, plus la mesure est calme mais lente à suivre. "
              "Elle doit rester nettement inférieure à la cadence de mesure.",
    "FilterCharacteristic": "Agit avec la fréquence de coupure du filtre.",
    "ConversionRate": "Nombre de mesures par seconde ; une cadence élevée augmente le bruit. "
                      "Choisir le filtre en conséquence.",
    "PhysicalUnit": "Unité de la valeur mise à l'échelle, affichée à côté de la mesure.",
    "DecimalPointPos": "Nombre de décimales avec lequel la mesure est affichée.",
    "InputPoint1": "Les deux points (entrée 1, sortie 1) et (entrée 2, sortie 2) définissent une droite : "
                   "chaque signal d'entrée est converti en valeur de sortie sur cette droite. "
                   "Les deux entrées doivent être différentes.",
    "OutputPoint1": "Voir « Point d'entrée 1 » : la droite de mise à l'échelle passe par les deux points.",
    "InputPoint2": "Voir « Point d'entrée 1 » : la droite de mise à l'échelle passe par les deux points.",
    "OutputPoint2": "Voir « Point d'entrée 1 » : la droite de mise à l'échelle passe par les deux points.",
    "ScalingSource": "Choisit si la mise à l'échelle vient des deux points saisis ou des données du capteur.",
    "Source": "Signal surveillé par ce contact de seuil.",
    "Direction": "Dit si le contact s'enclenche au-dessus ou au-dessous du seuil d'enclenchement.",
    "OnLevel": "Le contact s'enclenche au franchissement de ce seuil et se déclenche quand le signal "
               "revient de la valeur de l'hystérésis en deçà.",
    "Hysteresis": "Écart entre le seuil d'enclenchement et le seuil de déclenchement ; évite que le contact "
                  "batte quand le signal oscille autour du seuil.",
    "Delay": "Le seuil doit être franchi pendant cette durée avant que le contact ne change d'état.",
    "EnableMask": "Seuls les contacts de seuil activés ici agissent.",
    "Password": "Le mot de passe protège le verrouillage des paramètres.",
    "ParameterLock": "Verrouillé, l'appareil refuse les écritures de paramètres.",
    "HasTEDS": "Indique si un capteur avec fiche technique électronique (TEDS) est raccordé.",
    "ActivateTEDS": "Reprend les données de la fiche technique (TEDS) du capteur dans les réglages de l'amplificateur.",
    "AutoActivate": "Active la fiche technique (TEDS) automatiquement quand un autre capteur est raccordé.",
    "CANNodeID": "Chaque appareil d'un réseau CAN a son propre numéro. Après un changement, redémarrez "
                 "l'appareil puis relancez « Rechercher appareils » pour le retrouver à sa nouvelle adresse.",
    "CANBitRate": "Tous les appareils d'un réseau CAN doivent avoir le même débit. Un changement prend "
                  "effet au redémarrage.",
    "ProfibusAddress": "Un changement prend effet au redémarrage de l'appareil.",
    "DeviceNetMacID": "Un changement prend effet au redémarrage de l'appareil.",
    "DeviceNetBaudRate": "Tous les appareils du réseau doivent avoir le même débit.",
    "SerialBaudRate": "Le port série du PC doit utiliser le même débit.",
    "AllowOperational": "Autorise l'appareil à passer en mode opérationnel et à envoyer ses PDO.",
    "SaveApp": "Sans enregistrement, les changements sont perdus à la mise hors tension.",
    "SaveAll": "Sans enregistrement, les changements sont perdus à la mise hors tension.",
    "SaveComm": "Sans enregistrement, les changements sont perdus à la mise hors tension.",
    "FactorySettingsApp": "Remet les réglages d'usine ; le programme relit ensuite toute la configuration.",
    "FactorySettingsComm": "Remet les réglages d'usine ; le programme relit ensuite toute la configuration.",
    "Restart": "Après le redémarrage le programme attend l'appareil puis relit toute la configuration.",
    "Changed": "Indique des changements pas encore enregistrés de façon permanente dans l'appareil.",
}


def fr(node, path="Description"):
    element = node.find(path + "/fr") if node is not None else None
    return (element.text or "").strip() if element is not None else ""


def text(node, tag):
    element = node.find(tag)
    return (element.text or "").strip() if element is not None else ""


def e(value):
    return html.escape(value, quote=False)


def rows(node):
    kind = node.tag
    result = [("Type", KINDS.get(kind, kind))]
    unit = text(node, "Unit")
    if unit:
        result.append(("Unité", unit))
    low, high = text(node, "MinValue"), text(node, "MaxValue")
    if low or high:
        limits = f"de {low} à {high}" if low and high else f"au moins {low}" if low else f"au plus {high}"
        result.append(("Valeurs admises", limits))
    decimals = text(node, "DecimalPointPos")
    if kind == "ParameterValueLongFloat":
        result.append(("Décimales", decimals or "0"))
    if text(node, "MaxLen"):
        result.append(("Longueur maximale", text(node, "MaxLen") + " caractères"))
    items = node.findall("Enumeration/EnumItem")
    if items:
        choices = ", ".join(fr(item) or text(item, "Value") or text(item, "Code") for item in items)
        result.append(("Choix", choices))
    bits = node.findall("Bits/Bit")
    if bits:
        result.append(("Bits", "<br>".join(f"{e(text(b, 'Indice'))} : {e(fr(b))}" for b in bits)))
    if kind != "ParameterGroup":
        result.append(("Accès", ACCESS.get(text(node, "AccessMode") or "RW", "lecture et écriture")))
        if text(node, "Persistent") == "true":
            result.append(("Configuration", "enregistré dans les fichiers de configuration"))
        if text(node, "ReloadComplete") == "true":
            result.append(("Après écriture", "toute la configuration est relue"))
    question = fr(node, "Confirmation/Description")
    if question:
        result.append(("Confirmation", question))
    interface = text(node, "RequiresInterface")
    if interface and interface != "0":
        result.append(("Interface", "accessible seulement par " + INTERFACES.get(interface, interface)))
    return result


def section(family, path, node, topics):
    parts = [f"<h2>{e(family)}</h2>", f"<p class=\"path\">Paramètre « {e(path)} »</p>"]
    helptext = fr(node, "Help/Description")
    if helptext:
        parts.append(f"<p>{e(helptext)}</p>")
    table = "".join(f"<tr><th>{e(k)}</th><td>{v if k == 'Bits' else e(v)}</td></tr>" for k, v in rows(node))
    parts.append(f"<table>{table}</table>")
    note = NOTES.get(text(node, "Name"))
    if note:
        parts.append(f"<p>{e(note)}</p>")
    members = [m for m in node.findall("Members/*") if m.find("Help/TopicID") is not None]
    if members:
        links = "".join(
            f"<li><a href=\"{text(m, 'Help/TopicID')}.html\">{e(fr(m) or text(m, 'Name'))}</a></li>" for m in members)
        parts.append(f"<p>Paramètres du groupe :</p><ul>{links}</ul>")
    return "\n".join(parts)


def collect():
    topics = {}
    for file in sorted(DESCRIPTIONS.glob("*.xml")):
        root = ET.parse(file).getroot()
        family = root.findtext("Header/Family", file.stem)

        def walk(group, prefix):
            for member in group.findall("Members/*"):
                path = prefix + text(member, "Name")
                topic = text(member, "Help/TopicID")
                if topic:
                    topics.setdefault(int(topic), []).append((family, path, member))
                walk(member, path + "/")

        walk(root.find("ParameterGroup"), "")
    return topics


def page(topic, entries):
    titles = []
    for _, _, node in entries:
        if fr(node) not in titles:
            titles.append(fr(node))
    title = " / ".join(titles)
    body = "\n".join(section(family, path, node, topic) for family, path, node in entries)
    return f"""<!DOCTYPE html>
<html lang="fr"><head><meta charset="utf-8"><title>{e(title)}</title></head>
<body>
<h1>{e(title)}</h1>
{body}
<p class="nav"><a href="2.html">Sommaire</a> · <a href="9.html">Qu'est-ce qu'il faut faire ?</a></p>
</body></html>
"""


def main():
    HELP.mkdir(exist_ok=True)
    for topic, entries in collect().items():
        (HELP / f"{topic}.html").write_text(page(topic, entries), encoding="utf-8")


if __name__ == "__main__":
    main()
