<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AboutDlg</name>
    <message>
        <source>Free software under the &lt;a href=&quot;%1&quot;&gt;GNU General Public License&lt;/a&gt;, version 3 or (at your option) any later version. It comes with no warranty.</source>
        <translation>Freie Software unter der &lt;a href=&quot;%1&quot;&gt;GNU General Public License&lt;/a&gt;, Version 3 oder (nach Ihrer Wahl) jeder späteren Version. Sie wird ohne jede Gewährleistung bereitgestellt.</translation>
    </message>
    <message>
        <source>The manual: &lt;tt&gt;man quillmarch&lt;/tt&gt; for the window and &lt;tt&gt;man quillmarch-cli&lt;/tt&gt; for the command line; the guide: %1.</source>
        <translation>Das Handbuch: &lt;tt&gt;man quillmarch&lt;/tt&gt; für das Programmfenster und &lt;tt&gt;man quillmarch-cli&lt;/tt&gt; für die Befehlszeile; die Anleitung: %1.</translation>
    </message>
    <message>
        <source>README.md in the sources</source>
        <translation>README.md in den Quelltexten</translation>
    </message>
    <message>
        <source>Open the &amp;Guide</source>
        <translation>&amp;Anleitung öffnen</translation>
    </message>
    <message>
        <source>Author</source>
        <translation>Autor</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über Quillmarch</translation>
    </message>
    <message>
        <source>Quillmarch developers</source>
        <translation>Die Quillmarch-Entwickler</translation>
    </message>
</context>
<context>
    <name>CapacityBar</name>
    <message>
        <source>No target</source>
        <translation>Kein Ziel</translation>
    </message>
    <message>
        <source>Fills %1 of %2: %3 free</source>
        <translation>Belegt %1 von %2: %3 frei</translation>
    </message>
    <message>
        <source>%1, proven best</source>
        <translation>%1, nachweislich optimal</translation>
    </message>
    <message>
        <source>%1, not proven best: the search was stopped</source>
        <translation>%1, nicht nachweislich optimal: Die Suche wurde angehalten</translation>
    </message>
    <message>
        <source>%1, not proven best: the search reached its time limit</source>
        <translation>%1, nicht nachweislich optimal: Die Suche hat ihr Zeitlimit erreicht</translation>
    </message>
    <message>
        <source>%1 to place. Pick a target to see what fits.</source>
        <translation>%1 zu verteilen. Wählen Sie ein Ziel, um zu sehen, was passt.</translation>
    </message>
    <message>
        <source>The plan takes %1 of %2: %3 free</source>
        <translation>Der Plan belegt %1 von %2: %3 frei</translation>
    </message>
    <message>
        <source>%1 free</source>
        <translation>%1 frei</translation>
    </message>
    <message>
        <source>%1 to place on %2: %3 more than fits</source>
        <translation>%1 zu verteilen auf %2: %3 mehr, als passt</translation>
    </message>
    <message>
        <source>%1 to place on %2: all may fit</source>
        <translation>%1 zu verteilen auf %2: Alles könnte passen</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n entries, %2</source>
        <translation>
            <numerusform>%1: %n Eintrag, %2</numerusform>
            <numerusform>%1: %n Einträge, %2</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 holds %2</source>
        <translation>%1 fasst %2</translation>
    </message>
    <message>
        <source>The medium</source>
        <translation>Das Medium</translation>
    </message>
    <message>
        <source>The groups by the sizes of their files; on the medium each file takes whole blocks, which Dispense counts.</source>
        <translation>Die Gruppen nach der Größe ihrer Dateien; auf dem Medium belegt jede Datei ganze Blöcke, die „Zuteilen“ mitzählt.</translation>
    </message>
    <message>
        <source>as saved in the project</source>
        <translation>wie im Projekt gespeichert</translation>
    </message>
    <message>
        <source>as of %1</source>
        <translation>Stand %1</translation>
    </message>
    <message>
        <source>Its free space as of %1</source>
        <translation>Freier Speicherplatz, Stand %1</translation>
    </message>
    <message>
        <source>Its free space as saved in the project</source>
        <translation>Freier Speicherplatz, wie im Projekt gespeichert</translation>
    </message>
    <message>
        <source>It could not be checked since: %1</source>
        <translation>Seitdem konnte er nicht geprüft werden: %1</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>CliCommands</name>
    <message>
        <source>a PROJECT is needed</source>
        <translation>ein PROJEKT wird benötigt</translation>
    </message>
    <message>
        <source>only one PROJECT is taken</source>
        <translation>nur ein PROJEKT ist möglich</translation>
    </message>
    <message>
        <source>%1: cannot be read as a project: %2</source>
        <translation>%1: kann nicht als Projekt gelesen werden: %2</translation>
    </message>
    <message>
        <source>No such file</source>
        <translation>Datei nicht gefunden</translation>
    </message>
    <message>
        <source>%1: the project has no target; give --target PATH</source>
        <translation>%1: Das Projekt hat kein Ziel; geben Sie --target PFAD an</translation>
    </message>
    <message>
        <source>%1: not a mounted volume (an optical disc is burnt, not copied onto)</source>
        <translation>%1: kein eingehängter Datenträger (eine optische Disc wird gebrannt, nicht beschrieben durch Kopieren)</translation>
    </message>
    <message>
        <source>--into takes a folder below the target</source>
        <translation>--into erwartet einen Ordner unterhalb des Ziels</translation>
    </message>
    <message>
        <source>%1: cannot be made</source>
        <translation>%1: kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>%1: the project holds no dispensed entries</source>
        <translation>%1: Das Projekt enthält keine zugeteilten Einträge</translation>
    </message>
    <message>
        <source>The copy could not be started: out of memory</source>
        <translation>Die Kopie konnte nicht gestartet werden: kein Arbeitsspeicher mehr</translation>
    </message>
    <message>
        <source>%1: not copied: %2</source>
        <translation>%1: nicht kopiert: %2</translation>
    </message>
    <message numerus="yes">
        <source>Copied: %n files (%1 bytes), %2</source>
        <translation>
            <numerusform>Kopiert: %n Datei (%1 Byte), %2</numerusform>
            <numerusform>Kopiert: %n Dateien (%1 Byte), %2</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n read back equal before</source>
        <translation>
            <numerusform>%n bereits zuvor gleich zurückgelesen</numerusform>
            <numerusform>%n bereits zuvor gleich zurückgelesen</numerusform>
        </translation>
    </message>
    <message>
        <source>Manifest: %1</source>
        <translation>Manifest: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n files were not copied or did not read back equal</source>
        <translation>
            <numerusform>%n Datei wurde nicht kopiert oder nicht gleich zurückgelesen</numerusform>
            <numerusform>%n Dateien wurden nicht kopiert oder nicht gleich zurückgelesen</numerusform>
        </translation>
    </message>
    <message>
        <source>option %1 needs a value</source>
        <translation>Option %1 braucht einen Wert</translation>
    </message>
    <message>
        <source>option %1 given more than once</source>
        <translation>Option %1 mehrfach angegeben</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>Usage: quillmarch-cli probe [--json] PATH

Prints the target record of the volume or recorder holding PATH, as the
target picker would store it, in one line of tab-separated fields:
  PATH  FILESYSTEM  BLOCKSIZE  FREEBLOCKS  CAPACITY  [FREEINODES]
(FREEINODES for ext4 only). A volume that cannot be a target
(&quot;Unsupported file system&quot; and the like) is reported on standard error.

Options:
  --json      print one JSON object instead (path, file_system, block_size,
              available_blocks, capacity, and available_inodes for ext4)
  -h, --help  show this help

Exit status: 0 success, 2 usage error, 3 PATH missing or not usable as a target.
</source>
        <translation>Aufruf: quillmarch-cli probe [--json] PFAD

Gibt den Zieldatensatz des Datenträgers oder Brenners aus, der PFAD enthält,
so wie die Zielauswahl ihn speichern würde, in einer Zeile mit durch Tabulator
getrennten Feldern:
  PFAD  DATEISYSTEM  BLOCKGRÖSSE  FREIEBLÖCKE  KAPAZITÄT  [FREIEINODES]
(FREIEINODES nur für ext4). Ein Datenträger, der kein Ziel sein kann
(„Nicht unterstütztes Dateisystem“ und dergleichen), wird auf der
Standardfehlerausgabe gemeldet.

Optionen:
  --json      stattdessen ein JSON-Objekt ausgeben (path, file_system,
              block_size, available_blocks, capacity und available_inodes
              für ext4)
  -h, --help  diese Hilfe anzeigen

Rückgabewert: 0 Erfolg, 2 Aufruffehler, 3 PFAD fehlt oder ist als Ziel nicht
verwendbar.
</translation>
    </message>
    <message>
        <source>Usage: quillmarch-cli size [--json | -0] [--from FILE] PATH...

Prints each path&apos;s size in bytes, one line each, &quot;BYTES&lt;TAB&gt;PATH&quot; as given:
a file&apos;s length, or the total of every file below a folder as the window
program&apos;s folder-size thread computes it (links followed, link loops left
out). A folder with items that cannot be read has no known size: it gets no
line, and standard error says why.

Options:
  --from FILE  measure the paths listed in FILE too (&quot;-&quot;: standard input), one
               a line, or each ended by a NUL when the list holds any (as
               find -print0 writes them)
  --json       print one JSON array of objects (path, size) once all are known
  -0           end each line with a NUL instead of a newline
  -h, --help   show this help

Ctrl+C stops the measuring.

Exit status: 0 success, 2 usage error, 3 a path does not exist or is no file
or folder, 4 a folder could not be measured (the others are still printed),
130 stopped by Ctrl+C, 143 stopped by SIGTERM.
</source>
        <translation>Aufruf: quillmarch-cli size [--json | -0] [--from DATEI] PFAD...

Gibt die Größe jedes Pfades in Byte aus, je eine Zeile, „BYTES&lt;TAB&gt;PFAD“ wie
angegeben: die Länge einer Datei oder die Summe aller Dateien unter einem
Ordner, wie sie der Ordnergrößen-Thread des Programmfensters berechnet
(Verknüpfungen werden verfolgt, Verknüpfungsschleifen ausgelassen). Ein Ordner
mit Elementen, die nicht gelesen werden können, hat keine bekannte Größe: Er
erhält keine Zeile, und die Standardfehlerausgabe nennt den Grund.

Optionen:
  --from DATEI  auch die in DATEI aufgeführten Pfade vermessen („-“:
                Standardeingabe), je einer pro Zeile oder jeder durch ein NUL
                beendet, wenn die Liste eines enthält (wie find -print0 sie
                schreibt)
  --json        ein JSON-Array von Objekten (path, size) ausgeben, sobald alle
                bekannt sind
  -0            jede Zeile mit einem NUL statt einem Zeilenumbruch beenden
  -h, --help    diese Hilfe anzeigen

Strg+C hält das Vermessen an.

Rückgabewert: 0 Erfolg, 2 Aufruffehler, 3 ein Pfad existiert nicht oder ist
weder Datei noch Ordner, 4 ein Ordner konnte nicht vermessen werden (die
anderen werden trotzdem ausgegeben), 130 durch Strg+C angehalten, 143 durch
SIGTERM angehalten.
</translation>
    </message>
    <message>
        <source>a COMMAND is needed</source>
        <translation>ein BEFEHL wird benötigt</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>unbekannter Befehl „%1“</translation>
    </message>
    <message>
        <source>%1 (see &apos;%2&apos;)</source>
        <translation>%1 (siehe „%2“)</translation>
    </message>
    <message>
        <source>--json and -0 exclude each other</source>
        <translation>--json und -0 schließen einander aus</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>unerwartetes Argument „%1“</translation>
    </message>
    <message>
        <source>Probing %1...</source>
        <translation>%1 wird geprüft …</translation>
    </message>
    <message>
        <source>Cannot be probed</source>
        <translation>Kann nicht geprüft werden</translation>
    </message>
    <message>
        <source>a PATH is needed</source>
        <translation>ein PFAD wird benötigt</translation>
    </message>
    <message>
        <source>only one PATH is taken</source>
        <translation>nur ein PFAD ist möglich</translation>
    </message>
    <message>
        <source>%1: No such file or folder</source>
        <translation>%1: Datei oder Ordner nicht gefunden</translation>
    </message>
    <message>
        <source>%1: Cannot be probed</source>
        <translation>%1: Kann nicht geprüft werden</translation>
    </message>
    <message>
        <source>--from needs a file name, or - for standard input</source>
        <translation>--from braucht einen Dateinamen oder - für die Standardeingabe</translation>
    </message>
    <message>
        <source>at least one PATH is needed</source>
        <translation>mindestens ein PFAD wird benötigt</translation>
    </message>
    <message>
        <source>Measuring %1...</source>
        <translation>%1 wird vermessen …</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>Abgebrochen</translation>
    </message>
    <message>
        <source>Listing the entries...</source>
        <translation>Einträge werden aufgelistet …</translation>
    </message>
    <message>
        <source>Writing the manifest...</source>
        <translation>Manifest wird geschrieben …</translation>
    </message>
    <message>
        <source>Copying %1 of %2, %3 of %4 files</source>
        <translation>Kopiere %1 von %2, %3 von %4 Dateien</translation>
    </message>
    <message>
        <source>Reading back %1 of %2, %3 of %4 files</source>
        <translation>Lese zurück %1 von %2, %3 von %4 Dateien</translation>
    </message>
    <message>
        <source>%1/s</source>
        <translation>%1/s</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>noch %1</translation>
    </message>
    <message>
        <source>Wasted: %1 bytes (%2 blocks)</source>
        <translation>Ungenutzt: %1 Byte (%2 Blöcke)</translation>
    </message>
    <message>
        <source>Proven best: yes</source>
        <translation>Nachweislich optimal: ja</translation>
    </message>
    <message>
        <source>Proven best: no (time limit reached)</source>
        <translation>Nachweislich optimal: nein (Zeitlimit erreicht)</translation>
    </message>
    <message>
        <source>%1: %2; left out of the plan</source>
        <translation>%1: %2; im Plan ausgelassen</translation>
    </message>
    <message>
        <source>%1: has the same name on the target as %2; left out of the plan</source>
        <translation>%1: hat auf dem Ziel denselben Namen wie %2; im Plan ausgelassen</translation>
    </message>
    <message>
        <source>warning: the target folder on FAT32 holds at most 65,536 directory entries (a long name takes several); the smallest chosen entries were left out</source>
        <translation>Warnung: Der Zielordner auf FAT32 fasst höchstens 65.536 Verzeichniseinträge (ein langer Name belegt mehrere); die kleinsten gewählten Einträge wurden ausgelassen</translation>
    </message>
    <message>
        <source>warning: the time limit ended the search before the %1 group was searched</source>
        <translation>Warnung: Das Zeitlimit beendete die Suche, bevor die Gruppe %1 durchsucht wurde</translation>
    </message>
    <message>
        <source>warning: %1 Required entries did not fit</source>
        <translation>Warnung: %1 erforderliche Einträge passten nicht</translation>
    </message>
    <message>
        <source>Cancelled; %1 was not changed</source>
        <translation>Abgebrochen; %1 wurde nicht geändert</translation>
    </message>
    <message>
        <source>warning: %1</source>
        <translation>Warnung: %1</translation>
    </message>
    <message>
        <source>Nothing fits on the target</source>
        <translation>Nichts passt auf das Ziel</translation>
    </message>
    <message>
        <source>only one list can be read from standard input</source>
        <translation>nur eine Liste kann von der Standardeingabe gelesen werden</translation>
    </message>
    <message>
        <source>%1: cannot be read: %2</source>
        <translation>%1: kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>a PROJECT or --required/--main/--background paths are needed</source>
        <translation>ein PROJEKT oder Pfade mit --required/--main/--background werden benötigt</translation>
    </message>
    <message>
        <source>give either a PROJECT or --required/--main/--background paths, not both</source>
        <translation>geben Sie entweder ein PROJEKT oder Pfade mit --required/--main/--background an, nicht beides</translation>
    </message>
    <message>
        <source>%1 needs a file name, or - for standard input</source>
        <translation>%1 braucht einen Dateinamen oder - für die Standardeingabe</translation>
    </message>
    <message>
        <source>no PATH given after --required/--main/--background</source>
        <translation>kein PFAD nach --required/--main/--background angegeben</translation>
    </message>
    <message>
        <source>--target excludes --fs, --block-size and --free-blocks</source>
        <translation>--target schließt --fs, --block-size und --free-blocks aus</translation>
    </message>
    <message>
        <source>--fs, --block-size and --free-blocks go together</source>
        <translation>--fs, --block-size und --free-blocks gehören zusammen</translation>
    </message>
    <message>
        <source>a target is needed: --target PATH, or --fs, --block-size and --free-blocks</source>
        <translation>ein Ziel wird benötigt: --target PFAD oder --fs, --block-size und --free-blocks</translation>
    </message>
    <message>
        <source>--free-blocks takes a number of blocks, not &apos;%1&apos;</source>
        <translation>--free-blocks erwartet eine Anzahl Blöcke, nicht „%1“</translation>
    </message>
    <message>
        <source>the capacity --block-size x --free-blocks is too large</source>
        <translation>die Kapazität --block-size x --free-blocks ist zu groß</translation>
    </message>
    <message>
        <source>--time-limit takes a number of seconds, not &apos;%1&apos;</source>
        <translation>--time-limit erwartet eine Anzahl Sekunden, nicht „%1“</translation>
    </message>
    <message>
        <source>--save needs a file name</source>
        <translation>--save braucht einen Dateinamen</translation>
    </message>
    <message>
        <source>%1: the folder does not exist</source>
        <translation>%1: Der Ordner existiert nicht</translation>
    </message>
    <message>
        <source>%1: is a folder</source>
        <translation>%1: ist ein Ordner</translation>
    </message>
    <message>
        <source>is a folder</source>
        <translation>ist ein Ordner</translation>
    </message>
    <message>
        <source>warning: %1 It is left out.</source>
        <translation>Warnung: %1 Er wird ausgelassen.</translation>
    </message>
    <message>
        <source>warning: %1 is given more than once; it counts once</source>
        <translation>Warnung: %1 ist mehrfach angegeben; es zählt einmal</translation>
    </message>
    <message>
        <source>%1: the project has no target; give --target PATH, or --fs, --block-size and --free-blocks</source>
        <translation>%1: Das Projekt hat kein Ziel; geben Sie --target PFAD oder --fs, --block-size und --free-blocks an</translation>
    </message>
    <message numerus="yes">
        <source>Medium %1: %n entries, %2 bytes used, %3 bytes wasted (%4 blocks)</source>
        <translation>
            <numerusform>Medium %1: %n Eintrag, %2 Byte belegt, %3 Byte ungenutzt (%4 Blöcke)</numerusform>
            <numerusform>Medium %1: %n Einträge, %2 Byte belegt, %3 Byte ungenutzt (%4 Blöcke)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Medium %1: %n entries, %2 bytes used, %3 bytes wasted (%4 blocks), not proven best (time limit reached)</source>
        <translation>
            <numerusform>Medium %1: %n Eintrag, %2 Byte belegt, %3 Byte ungenutzt (%4 Blöcke), nicht nachweislich optimal (Zeitlimit erreicht)</numerusform>
            <numerusform>Medium %1: %n Einträge, %2 Byte belegt, %3 Byte ungenutzt (%4 Blöcke), nicht nachweislich optimal (Zeitlimit erreicht)</numerusform>
        </translation>
    </message>
    <message>
        <source>Media: %1 (lower bound %2)</source>
        <translation>Medien: %1 (Untergrenze %2)</translation>
    </message>
    <message numerus="yes">
        <source>Not planned: %n entries</source>
        <translation>
            <numerusform>Nicht geplant: %n Eintrag</numerusform>
            <numerusform>Nicht geplant: %n Einträge</numerusform>
        </translation>
    </message>
    <message>
        <source>--media takes a number of media from 1, not &apos;%1&apos;</source>
        <translation>--media erwartet eine Anzahl Medien ab 1, nicht „%1“</translation>
    </message>
    <message>
        <source>--out-dir needs a folder</source>
        <translation>--out-dir braucht einen Ordner</translation>
    </message>
    <message>
        <source>%1: is not a folder</source>
        <translation>%1: ist kein Ordner</translation>
    </message>
    <message>
        <source>%1: has the same name on the target as %2; left out of the series</source>
        <translation>%1: hat auf dem Ziel denselben Namen wie %2; in der Serie ausgelassen</translation>
    </message>
    <message>
        <source>Nothing to plan: no entries in Required, Main or Background</source>
        <translation>Nichts zu planen: keine Einträge in Erforderlich, Haupt oder Hintergrund</translation>
    </message>
    <message>
        <source>%1: %2; left out of the series</source>
        <translation>%1: %2; in der Serie ausgelassen</translation>
    </message>
    <message>
        <source>Cancelled; no list was written</source>
        <translation>Abgebrochen; es wurde keine Liste geschrieben</translation>
    </message>
    <message>
        <source>warning: %1 paths hold a line break; they are in the .nul lists only</source>
        <translation>Warnung: %1 Pfade enthalten einen Zeilenumbruch; sie stehen nur in den .nul-Listen</translation>
    </message>
    <message>
        <source>%1: not a folder</source>
        <translation>%1: kein Ordner</translation>
    </message>
    <message>
        <source>Comparing: %1 read: %2</source>
        <translation>Vergleiche: %1 gelesen: %2</translation>
    </message>
    <message>
        <source>%1 of %2 dispensed entries did not arrive in %3</source>
        <translation>%1 von %2 zugeteilten Einträgen sind nicht in %3 angekommen</translation>
    </message>
    <message>
        <source>The search could not be started: out of memory</source>
        <translation>Die Suche konnte nicht gestartet werden: kein Arbeitsspeicher mehr</translation>
    </message>
    <message>
        <source>Cancelling after the entry being measured...</source>
        <translation>Abbruch nach dem Eintrag, der gerade vermessen wird …</translation>
    </message>
    <message>
        <source>Searching: best so far wastes %1 bytes</source>
        <translation>Suche: Das bisher Beste lässt %1 Byte ungenutzt</translation>
    </message>
    <message>
        <source>Measuring...</source>
        <translation>Vermessen …</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>Wird abgebrochen …</translation>
    </message>
    <message>
        <source>Measuring folder sizes...</source>
        <translation>Ordnergrößen werden vermessen …</translation>
    </message>
    <message>
        <source>Measuring: %1 of %2 entries</source>
        <translation>Vermessen: %1 von %2 Einträgen</translation>
    </message>
    <message>
        <source>Trying fewer media: %1 media, %2 of %3 entries</source>
        <translation>Weniger Medien werden versucht: %1 Medien, %2 von %3 Einträgen</translation>
    </message>
    <message>
        <source>Planning: %1 media, %2 of %3 entries on them</source>
        <translation>Planung: %1 Medien, %2 von %3 Einträgen darauf</translation>
    </message>
    <message>
        <source>The plan could not be started: out of memory</source>
        <translation>Die Planung konnte nicht gestartet werden: kein Arbeitsspeicher mehr</translation>
    </message>
    <message>
        <source>Usage: quillmarch-cli copy PROJECT [--target PATH] [--into FOLDER] [--json]

Copies the entries of the project&apos;s &quot;Dispensed&quot; group onto the target, each
at the top of the target&apos;s root (the project&apos;s target, or --target PATH) or
of FOLDER on it. This is the copy the plan is exact for: files are written in
place, in the order the plan&apos;s file-system costs assume. The original of each
file is hashed (XXH3-128) while it is read; once all are written, every copy
is read back from the medium, past the system&apos;s cache, and compared, so that
a stick that loses what is written to it is caught. The hashes of the copies
that read back equal go into XXH128SUMS in that folder, which
&apos;xxh128sum -c XXH128SUMS&apos; checks there without Quillmarch.

Running it again after a cancel, a crash or a pulled stick goes on where it
stopped: files already read back equal and unchanged are skipped, a file cut
short is written again. The journal of that is kept outside the target, in
$XDG_STATE_HOME/quillmarch/copies (~/.local/state when unset). Nothing is
ever deleted or overwritten outside what this copy made: a name that is in
the folder already is refused, and so are two entries whose names the
target&apos;s file system takes for one (letter case aside, or trailing dots and
spaces, on FAT32, exFAT and NTFS). The project&apos;s target must still be the
volume it was picked as: when that volume is not mounted, or another is
mounted in its place, nothing is written (exit status 3); a PATH given with
--target is taken as it is.

Prints one line for each file that could not be copied or did not read back
equal, fields separated by a tab,
  failed  PATH  WHY
then &quot;Copied: N files (BYTES bytes), M read back equal before&quot; and
&quot;Manifest: PATH&quot;. Items that cannot be copied by nature (devices, FIFOs) are
named on standard error.

Options:
  --target PATH   the target volume (or a folder on it)
  --into FOLDER   a folder below the target&apos;s root; made when missing
  --json          print one JSON object instead (target, files, bytes,
                  copied, skipped, verified, outcome, message, manifest,
                  failed: [path, reason])
  -h, --help      show this help

Progress goes to standard error when it is a terminal. Ctrl+C (or SIGTERM)
stops after the current block and removes the file being written.

Exit status: 0 every file copied and read back equal, 1 nothing is
dispensed, 2 usage error, 3 project or target error (also a target that
vanished or failed while copying), 6 some files were not copied or did not
read back equal (listed), 7 the target is full, 130 cancelled by Ctrl+C
(SIGINT), 143 by SIGTERM; run the copy again to go on.
</source>
        <translation>Aufruf: quillmarch-cli copy PROJEKT [--target PFAD] [--into ORDNER] [--json]

Kopiert die Einträge der Gruppe „Zugeteilt“ des Projekts auf das Ziel, jeden
an die oberste Stelle der Wurzel des Ziels (das Ziel des Projekts oder
--target PFAD) oder von ORDNER darauf. Für diese Kopie ist der Plan exakt:
Dateien werden an Ort und Stelle geschrieben, in der Reihenfolge, die die
Dateisystemkosten des Plans annehmen. Das Original jeder Datei wird beim Lesen
gehasht (XXH3-128); sobald alle geschrieben sind, wird jede Kopie am
Zwischenspeicher des Systems vorbei vom Medium zurückgelesen und verglichen,
sodass ein Stick, der Geschriebenes verliert, auffällt. Die Hashes der Kopien,
die gleich zurückgelesen wurden, kommen in XXH128SUMS in diesem Ordner, was
„xxh128sum -c XXH128SUMS“ dort ohne Quillmarch prüft.

Ein erneuter Aufruf nach einem Abbruch, einem Absturz oder einem abgezogenen
Stick macht dort weiter, wo er angehalten hat: Bereits gleich zurückgelesene
und unveränderte Dateien werden übersprungen, eine abgeschnittene Datei wird
neu geschrieben. Das Protokoll dazu liegt außerhalb des Ziels, in
$XDG_STATE_HOME/quillmarch/copies (~/.local/state, wenn nicht gesetzt). Nichts
außerhalb dessen, was diese Kopie angelegt hat, wird je gelöscht oder
überschrieben: Ein Name, der bereits im Ordner ist, wird abgelehnt.

Gibt eine Zeile für jede Datei aus, die nicht kopiert werden konnte oder nicht
gleich zurückgelesen wurde, Felder durch Tabulator getrennt,
  failed  PFAD  GRUND
dann „Kopiert: N Dateien (BYTES Byte), M bereits zuvor gleich zurückgelesen“
und „Manifest: PFAD“. Elemente, die ihrer Art nach nicht kopiert werden können
(Geräte, FIFOs), werden auf der Standardfehlerausgabe genannt.

Optionen:
  --target PFAD   der Zieldatenträger (oder ein Ordner darauf)
  --into ORDNER   ein Ordner unterhalb der Wurzel des Ziels; wird angelegt,
                  wenn er fehlt
  --json          stattdessen ein JSON-Objekt ausgeben (target, files, bytes,
                  copied, skipped, verified, outcome, message, manifest,
                  failed: [path, reason])
  -h, --help      diese Hilfe anzeigen

Der Fortschritt geht auf die Standardfehlerausgabe, wenn sie ein Terminal ist.
Strg+C (oder SIGTERM) hält nach dem aktuellen Block an und entfernt die Datei,
die gerade geschrieben wird.

Rückgabewert: 0 jede Datei kopiert und gleich zurückgelesen, 1 nichts ist
zugeteilt, 2 Aufruffehler, 3 Projekt- oder Zielfehler (auch ein Ziel, das
beim Kopieren verschwand oder versagte), 6 einige Dateien wurden nicht kopiert
oder nicht gleich zurückgelesen (aufgelistet), 7 das Ziel ist voll, 130 durch
Strg+C (SIGINT) abgebrochen, 143 durch SIGTERM; starten Sie die Kopie erneut,
um fortzufahren.
</translation>
    </message>
    <message>
        <source>warning: the volume&apos;s free inodes ran out before its free space (ext4 stores each file, folder and link in one of a fixed number); the smallest chosen entries were left out</source>
        <translation>Warnung: Die freien Inodes des Datenträgers gingen vor seinem freien Speicher aus (ext4 legt jede Datei, jeden Ordner und jede Verknüpfung in einem von fest vielen ab); die kleinsten gewählten Einträge wurden ausgelassen</translation>
    </message>
    <message>
        <source>warning: the target folder on exFAT holds at most 256 MiB of names; the smallest chosen entries were left out</source>
        <translation>Warnung: Der Zielordner auf exFAT fasst höchstens 256 MiB an Namen; die kleinsten gewählten Einträge wurden ausgelassen</translation>
    </message>
    <message>
        <source>--block-size takes %1 bytes on %2, not &apos;%3&apos;</source>
        <translation>--block-size erwartet auf %2 %1 Byte, nicht „%3“</translation>
    </message>
    <message>
        <source>--block-size takes a power of two from %1 to %2 bytes, not &apos;%3&apos;</source>
        <translation>--block-size erwartet eine Zweierpotenz von %1 bis %2 Byte, nicht „%3“</translation>
    </message>
    <message>
        <source>Usage: quillmarch-cli COMMAND [OPTIONS] [ARGUMENTS]

Fills one storage medium as fully as possible from prioritised files and
folders, with the search of the Quillmarch window program.

Commands:
  volumes           list the volumes and recorders a target can be picked from
  probe PATH        print the target record of the volume or recorder holding PATH
  size PATH...      print the size in bytes of each file or folder
  dispense PROJECT  choose the entries of a project that fill the target best
  dispense --required PATH... --main PATH... --background PATH... TARGET
                    the same without a project file
  series PROJECT    plan a whole series of media: what goes on each
  series --required PATH... --main PATH... --background PATH... TARGET
                    the same without a project file
  copy PROJECT      copy the dispensed entries onto the target and read them back
  burn PROJECT      write the dispensed entries onto a disc and read them back
  image PROJECT --out FILE.iso
                    write the disc&apos;s ISO 9660 image to a file instead
  verify PROJECT    check that the dispensed entries arrived on the target

Run &apos;quillmarch-cli COMMAND --help&apos; for the options of a command, and
&apos;quillmarch-cli --version&apos; for the version.

Exit status: 0 success, 1 nothing fits (series: some entries fit no medium),
2 usage error, 3 target or file error, 4 entries that could not be measured
were left out, 5 the search ran out of memory, 6 files were not copied or
did not read back equal, 7 the target is full, 8 the disc or image was not
written (burn, image), 9 writing or reading it back failed, 130 stopped by
Ctrl+C (SIGINT), 143 stopped by SIGTERM.
</source>
        <translation>Aufruf: quillmarch-cli BEFEHL [OPTIONEN] [ARGUMENTE]

Füllt ein Speichermedium so vollständig wie möglich mit priorisierten Dateien
und Ordnern, mit der Suche des Quillmarch-Programmfensters.

Befehle:
  volumes           die Datenträger und Brenner auflisten, aus denen ein Ziel
                    gewählt werden kann
  probe PFAD        den Zieldatensatz des Datenträgers oder Brenners ausgeben,
                    der PFAD enthält
  size PFAD...      die Größe jeder Datei und jedes Ordners in Byte ausgeben
  dispense PROJEKT  die Einträge eines Projekts wählen, die das Ziel am besten
                    füllen
  dispense --required PFAD... --main PFAD... --background PFAD... ZIEL
                    dasselbe ohne Projektdatei
  series PROJEKT    eine ganze Serie von Medien planen: was auf jedes kommt
  series --required PFAD... --main PFAD... --background PFAD... ZIEL
                    dasselbe ohne Projektdatei
  copy PROJEKT      die zugeteilten Einträge auf das Ziel kopieren und
                    zurücklesen
  burn PROJEKT      die zugeteilten Einträge auf eine Disc schreiben und
                    zurücklesen
  image PROJEKT --out DATEI.iso
                    stattdessen das ISO-9660-Abbild der Disc in eine Datei
                    schreiben
  verify PROJEKT    prüfen, ob die zugeteilten Einträge auf dem Ziel
                    angekommen sind

„quillmarch-cli BEFEHL --help“ zeigt die Optionen eines Befehls,
„quillmarch-cli --version“ die Version.

Rückgabewert: 0 Erfolg, 1 nichts passt (series: einige Einträge passen auf
kein Medium), 2 Aufruffehler, 3 Ziel- oder Dateifehler, 4 Einträge, die nicht
vermessen werden konnten, wurden ausgelassen, 5 der Suche ging der
Arbeitsspeicher aus, 6 Dateien wurden nicht kopiert oder nicht gleich
zurückgelesen, 7 das Ziel ist voll, 8 die Disc oder das Abbild wurde nicht
geschrieben (burn, image), 9 das Schreiben oder Zurücklesen ist
fehlgeschlagen, 130 durch Strg+C (SIGINT) angehalten, 143 durch SIGTERM
angehalten.
</translation>
    </message>
    <message>
        <source>Usage: quillmarch-cli volumes [--json | -0]

Lists the roots the target picker offers: the mount points of disk volumes in
ascending order, then the optical recorders. One line each, fields separated
by a tab:
  ROOT  FILESYSTEM  BLOCKSIZE  FREEBLOCKS  CAPACITY  [FREEINODES]
or, for a root that cannot be a target:
  ROOT  REASON
FILESYSTEM is NTFS, FAT, UDF, ISO9660, exFAT or ext4; CAPACITY is FREEBLOCKS x
BLOCKSIZE in bytes; FREEINODES, the new files and folders the volume can
still take, is given for ext4 only. exFAT and ext4 volumes cannot be planned
yet.

Options:
  --json      print one JSON array of objects instead (path, file_system,
              block_size, available_blocks, capacity, and available_inodes
              for ext4; or path, reason)
  -0          end each line with a NUL instead of a newline
  -h, --help  show this help

Exit status: 0.
</source>
        <translation>Aufruf: quillmarch-cli volumes [--json | -0]

Listet die Wurzeln auf, die die Zielauswahl anbietet: die Einhängepunkte der
Datenträger in aufsteigender Reihenfolge, dann die optischen Brenner. Je eine
Zeile, Felder durch Tabulator getrennt:
  WURZEL  DATEISYSTEM  BLOCKGRÖSSE  FREIEBLÖCKE  KAPAZITÄT  [FREIEINODES]
oder, für eine Wurzel, die kein Ziel sein kann:
  WURZEL  GRUND
DATEISYSTEM ist NTFS, FAT, UDF, ISO9660, exFAT oder ext4; KAPAZITÄT ist
FREIEBLÖCKE x BLOCKGRÖSSE in Byte; FREIEINODES, die neuen Dateien und
Ordner, die der Datenträger noch aufnehmen kann, wird nur für ext4
angegeben. exFAT- und ext4-Datenträger können noch nicht geplant werden.

Optionen:
  --json      stattdessen ein JSON-Array von Objekten ausgeben (path,
              file_system, block_size, available_blocks, capacity und
              available_inodes für ext4; oder path, reason)
  -0          jede Zeile mit einem NUL statt einem Zeilenumbruch beenden
  -h, --help  diese Hilfe anzeigen

Rückgabewert: 0.
</translation>
    </message>
    <message>
        <source>Usage: quillmarch-cli dispense PROJECT [TARGET] [OPTIONS]
       quillmarch-cli dispense [--required PATH...] [--main PATH...]
                               [--background PATH...] TARGET [OPTIONS]

Runs the search of the window&apos;s &quot;Dispense&quot; through the groups Required, Main
and Background of the project (or of a project made of the paths given) and
prints the chosen entries in the order of the &quot;Dispensed&quot; group, one path a
line, then &quot;Wasted: BYTES bytes (BLOCKS blocks)&quot; and &quot;Proven best: yes&quot; when
the search ran to its end (&quot;no&quot; when the time limit cut it short). A result
already held in the project is put back into its groups first. Entries whose
size cannot be known (they no longer exist, or hold items that cannot be
read), or that are no file or folder, are left out, as in the window, and
named on standard error; so are Required entries that did not fit. Sizes
reported and saved are those measured now. A project&apos;s own target is probed
again when its path exists, so that the plan uses its free space of now.

An entry with the same name on the target as one before it (in a higher
group, or earlier in its own) is left out and named, as only one of them
could be copied: rename one to dispense both. On FAT32 and NTFS names that
differ only in case or in trailing dots and spaces count as the same.

Copy the chosen entries with a file manager, cp -r or rsync --inplace: a copy
that writes temporary names and renames them needs more room on NTFS than the
plan allows for.

Many paths: give them in a list (--main-from and the like), not through
xargs, which runs several commands, each planning the whole target for part
of the paths; together they overfill it.

Target (the project&apos;s own target when none is given):
  --target PATH         the volume or recorder holding PATH
  --fs FS --block-size N --free-blocks N
                        a target given by its figures; FS is NTFS, FAT32,
                        exFAT, ext4, UDF or ISO9660 (or the type mount
                        prints)

Paths from a list, added to those of the group&apos;s option (&quot;-&quot;: standard
input), one a line, or each ended by a NUL when the list holds any (as
find -print0 writes them):
  --required-from FILE, --main-from FILE, --background-from FILE

Options:
  --time-limit SECONDS  when the time runs out, take the best selection found
                        so far, as &quot;Accept&quot; does: the groups not yet reached
                        are left out
  --save OUT            write the project with the result applied to OUT, as
                        the window&apos;s Save would (only when something was
                        chosen; only a regular file is replaced)
  --json                print one JSON object instead
  -0                    print only the chosen paths, each ended by a NUL
  -h, --help            show this help

Progress goes to standard error when it is a terminal. Ctrl+C (or SIGTERM)
cancels; during --save, the new project file is either written whole (exit
status 0) or not at all, the old file left as it was (130 or 143).

Exit status: 0 entries were chosen, 1 nothing fits, 2 usage error, 3 target,
project or file error, 4 entries that could not be measured were left out
(the plan of the others is printed), 5 the search ran out of memory, 130
cancelled by Ctrl+C (SIGINT), 143 by SIGTERM.
</source>
        <translation>Aufruf: quillmarch-cli dispense PROJEKT [ZIEL] [OPTIONEN]
       quillmarch-cli dispense [--required PFAD...] [--main PFAD...]
                               [--background PFAD...] ZIEL [OPTIONEN]

Führt die Suche von „Zuteilen“ des Programmfensters durch die Gruppen
Erforderlich, Haupt und Hintergrund des Projekts (oder eines Projekts aus den
angegebenen Pfaden) aus und gibt die gewählten Einträge in der Reihenfolge der
Gruppe „Zugeteilt“ aus, ein Pfad pro Zeile, dann „Ungenutzt: BYTES Byte
(BLÖCKE Blöcke)“ und „Nachweislich optimal: ja“, wenn die Suche zu Ende lief
(„nein“, wenn das Zeitlimit sie abkürzte). Ein bereits im Projekt gehaltenes
Ergebnis wird zuerst in seine Gruppen zurückgelegt. Einträge, deren Größe
nicht bekannt sein kann (sie existieren nicht mehr oder enthalten Elemente,
die nicht gelesen werden können) oder die weder Datei noch Ordner sind,
werden wie im Programmfenster ausgelassen und auf der Standardfehlerausgabe
genannt; ebenso erforderliche Einträge, die nicht passten. Gemeldete und
gespeicherte Größen sind die jetzt gemessenen. Das eigene Ziel eines Projekts
wird erneut geprüft, wenn sein Pfad existiert, damit der Plan seinen jetzigen
freien Speicher verwendet.

Ein Eintrag mit demselben Namen auf dem Ziel wie ein Eintrag vor ihm (in einer
höheren Gruppe oder früher in der eigenen) wird ausgelassen und genannt, da
nur einer von beiden kopiert werden könnte: Benennen Sie einen um, um beide
zuzuteilen. Auf FAT32 und NTFS gelten Namen, die sich nur in Groß- und
Kleinschreibung oder in Punkten und Leerzeichen am Ende unterscheiden, als
gleich.

Kopieren Sie die gewählten Einträge mit einem Dateimanager, cp -r oder
rsync --inplace: Eine Kopie, die temporäre Namen schreibt und sie umbenennt,
braucht auf NTFS mehr Platz, als der Plan vorsieht.

Viele Pfade: Geben Sie sie in einer Liste an (--main-from und dergleichen),
nicht über xargs, das mehrere Befehle startet, von denen jeder das ganze Ziel
für einen Teil der Pfade plant; zusammen überfüllen sie es.

Ziel (das eigene Ziel des Projekts, wenn keines angegeben ist):
  --target PFAD         der Datenträger oder Brenner, der PFAD enthält
  --fs DS --block-size N --free-blocks N
                        ein Ziel, angegeben durch seine Kennzahlen; DS ist
                        NTFS, FAT32, exFAT, ext4, UDF oder ISO9660 (oder
                        der Typ, den mount ausgibt)

Pfade aus einer Liste, zusätzlich zu denen der Option der Gruppe („-“:
Standardeingabe), einer pro Zeile oder jeder durch ein NUL beendet, wenn die
Liste eines enthält (wie find -print0 sie schreibt):
  --required-from DATEI, --main-from DATEI, --background-from DATEI

Optionen:
  --time-limit SEKUNDEN wenn die Zeit abläuft, die beste bisher gefundene
                        Auswahl nehmen, wie „Übernehmen“: Die noch nicht
                        erreichten Gruppen werden ausgelassen
  --save AUSGABE        das Projekt mit dem angewandten Ergebnis nach AUSGABE
                        schreiben, wie „Speichern“ im Programmfenster (nur
                        wenn etwas gewählt wurde; nur eine gewöhnliche Datei
                        wird ersetzt)
  --json                stattdessen ein JSON-Objekt ausgeben
  -0                    nur die gewählten Pfade ausgeben, jeder durch ein NUL
                        beendet
  -h, --help            diese Hilfe anzeigen

Der Fortschritt geht auf die Standardfehlerausgabe, wenn sie ein Terminal ist.
Strg+C (oder SIGTERM) bricht ab; während --save wird die neue Projektdatei
entweder ganz geschrieben (Rückgabewert 0) oder gar nicht, und die alte Datei
bleibt, wie sie war (130 oder 143).

Rückgabewert: 0 Einträge wurden gewählt, 1 nichts passt, 2 Aufruffehler,
3 Ziel-, Projekt- oder Dateifehler, 4 Einträge, die nicht vermessen werden
konnten, wurden ausgelassen (der Plan der anderen wird ausgegeben), 5 der
Suche ging der Arbeitsspeicher aus, 130 durch Strg+C (SIGINT) abgebrochen,
143 durch SIGTERM.
</translation>
    </message>
    <message>
        <source>Preparing the image...</source>
        <translation>Abbild wird vorbereitet …</translation>
    </message>
    <message>
        <source>Closing the disc...</source>
        <translation>Disc wird abgeschlossen …</translation>
    </message>
    <message>
        <source>Writing %1% of %2</source>
        <translation>%1 % von %2 werden geschrieben</translation>
    </message>
    <message>
        <source>Reading back %1% of %2</source>
        <translation>%1 % von %2 werden zurückgelesen</translation>
    </message>
    <message>
        <source>buffer %1%</source>
        <translation>Puffer %1 %</translation>
    </message>
    <message>
        <source>Usage: quillmarch-cli burn PROJECT [--drive DRIVE] [--overwrite] [--json]

Writes the entries of the project&apos;s &quot;Dispensed&quot; group onto the disc in the
recorder DRIVE (the project&apos;s target when no --drive is given): a device
such as /dev/sr0, or a libburn pseudo-drive stdio:PATH over a file. The disc
is written as ISO 9660 with Rock Ridge (for Linux) and Joliet (for Windows),
each entry at its root under its own name, names and times kept, in the
write mode the medium needs (blank or appendable DVD-R/+R, DVD-RW/+RW, BD-R,
BD-RE, CD-R/RW).

Before anything is written, each entry is measured again and held against
the plan, and the image&apos;s exact size, as libisofs lays it out, against the
plan and against the room on the disc: a source changed since planning, an
image larger than planned or a disc too small stops it with the reason. A
rewritable disc that holds files is written over only with --overwrite.
After writing, every file is read back from the disc and compared with its
original (XXH3-128); only a disc read back equal counts as arrived for
&apos;quillmarch-cli verify&apos; and the window&apos;s &quot;Delete the files&quot;.

Prints &quot;Written: BLOCKS blocks to DRIVE&quot; and &quot;Read back equal: N files&quot;,
or one line for each file that did not read back equal, fields separated by
a tab:
  different  PATH  WHY

Options:
  --drive DRIVE   the recorder, or stdio:PATH
  --overwrite     write over a rewritable disc that already holds files
  --json          print one JSON object instead (drive, outcome: written,
                  refused, cancelled, failed or different, message, blocks,
                  volume_id, files, different: [path, reason])
  -h, --help      show this help

Progress (percent, speed, the drive&apos;s buffer, time left) goes to standard
error when it is a terminal. Ctrl+C (or SIGTERM) cancels; a write-once disc
cancelled while it is written is spoilt.

Exit status: 0 written and read back equal, 1 nothing is dispensed, 2 usage
error, 3 project error, 8 nothing was written (the reason on standard
error), 9 writing or reading back failed, or files read back different,
130 cancelled by Ctrl+C (SIGINT), 143 by SIGTERM.
</source>
        <translation>Aufruf: quillmarch-cli burn PROJEKT [--drive LAUFWERK] [--overwrite] [--json]

Schreibt die Einträge der Gruppe „Zugeteilt“ des Projekts auf die Disc im
Brenner LAUFWERK (dem Ziel des Projekts, wenn kein --drive angegeben ist):
ein Gerät wie /dev/sr0 oder ein libburn-Pseudolaufwerk stdio:PFAD über einer
Datei. Die Disc wird als ISO 9660 mit Rock Ridge (für Linux) und Joliet (für
Windows) geschrieben, jeder Eintrag unter seinem eigenen Namen in der Wurzel,
mit Namen und Zeiten, in dem Schreibmodus, den das Medium braucht (leere oder
erweiterbare DVD-R/+R, DVD-RW/+RW, BD-R, BD-RE, CD-R/RW).

Bevor etwas geschrieben wird, wird jeder Eintrag erneut vermessen und mit dem
Plan verglichen, und die genaue Größe des Abbilds, wie libisofs es anlegt, mit
dem Plan und mit dem Platz auf der Disc: Eine seit der Planung geänderte
Quelle, ein größeres Abbild als geplant oder eine zu kleine Disc hält den
Vorgang mit dem Grund an. Eine wiederbeschreibbare Disc, die Dateien enthält,
wird nur mit --overwrite überschrieben. Nach dem Schreiben wird jede Datei von
der Disc zurückgelesen und mit ihrem Original verglichen (XXH3-128); nur eine
gleich zurückgelesene Disc gilt für „quillmarch-cli verify“ und „Dateien
löschen“ im Programmfenster als angekommen.

Gibt „Geschrieben: BLÖCKE Blöcke nach LAUFWERK“ und „Gleich zurückgelesen: N
Dateien“ aus, oder eine Zeile für jede Datei, die nicht gleich zurückgelesen
wurde, Felder durch Tabulator getrennt:
  different  PFAD  GRUND

Optionen:
  --drive LAUFWERK  der Brenner oder stdio:PFAD
  --overwrite       eine wiederbeschreibbare Disc überschreiben, die bereits
                    Dateien enthält
  --json            stattdessen ein JSON-Objekt ausgeben (drive, outcome:
                    written, refused, cancelled, failed oder different,
                    message, blocks, volume_id, files, different: [path,
                    reason])
  -h, --help        diese Hilfe anzeigen

Der Fortschritt (Prozent, Geschwindigkeit, Puffer des Laufwerks, verbleibende
Zeit) geht auf die Standardfehlerausgabe, wenn sie ein Terminal ist. Strg+C
(oder SIGTERM) bricht ab; eine einmal beschreibbare Disc, deren Schreiben
abgebrochen wird, ist danach unbrauchbar.

Rückgabewert: 0 geschrieben und gleich zurückgelesen, 1 nichts ist zugeteilt,
2 Aufruffehler, 3 Projektfehler, 8 nichts wurde geschrieben (der Grund steht
auf der Standardfehlerausgabe), 9 Schreiben oder Zurücklesen fehlgeschlagen
oder Dateien verschieden zurückgelesen, 130 durch Strg+C (SIGINT)
abgebrochen, 143 durch SIGTERM.
</translation>
    </message>
    <message>
        <source>Usage: quillmarch-cli image PROJECT --out FILE.iso [--json]

Writes the ISO 9660 image (Rock Ridge and Joliet) of the entries of the
project&apos;s &quot;Dispensed&quot; group to FILE.iso, the image &apos;quillmarch-cli burn&apos;
would write to a disc, for a burn later or elsewhere. FILE.iso appears only
once it is whole. When the plan was made for an ISO 9660 disc, the image&apos;s
exact size is held against the plan first, as for burn; the room where the
file goes is checked in any case. The image is read back and compared with
the originals.

Prints &quot;Written: BLOCKS blocks to FILE.iso&quot; and &quot;Read back equal: N files&quot;,
or the files that did not read back equal as burn does.

Options:
  --out FILE.iso  the image file to write
  --json          print one JSON object instead (image, outcome, message,
                  blocks, volume_id, files, different)
  -h, --help      show this help

Exit status: as for burn.
</source>
        <translation>Aufruf: quillmarch-cli image PROJEKT --out DATEI.iso [--json]

Schreibt das ISO-9660-Abbild (Rock Ridge und Joliet) der Einträge der Gruppe
„Zugeteilt“ des Projekts nach DATEI.iso: das Abbild, das „quillmarch-cli
burn“ auf eine Disc schreiben würde, zum Brennen später oder anderswo.
DATEI.iso erscheint erst, wenn sie vollständig ist. Wurde der Plan für eine
ISO-9660-Disc gemacht, wird die genaue Größe des Abbilds zuerst mit dem Plan
verglichen, wie bei burn; der Platz dort, wo die Datei hinkommt, wird in jedem
Fall geprüft. Das Abbild wird zurückgelesen und mit den Originalen verglichen.

Gibt „Geschrieben: BLÖCKE Blöcke nach DATEI.iso“ und „Gleich zurückgelesen: N
Dateien“ aus, oder, wie burn, die Dateien, die nicht gleich zurückgelesen
wurden.

Optionen:
  --out DATEI.iso  die zu schreibende Abbilddatei
  --json           stattdessen ein JSON-Objekt ausgeben (image, outcome,
                   message, blocks, volume_id, files, different)
  -h, --help       diese Hilfe anzeigen

Rückgabewert: wie bei burn.
</translation>
    </message>
    <message>
        <source>--out FILE.iso is needed</source>
        <translation>--out DATEI.iso wird benötigt</translation>
    </message>
    <message>
        <source>the project&apos;s target is no recorder: give --drive DRIVE</source>
        <translation>das Ziel des Projekts ist kein Brenner; geben Sie --drive LAUFWERK an</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>The writing could not be started: out of memory</source>
        <translation>Das Schreiben konnte nicht gestartet werden: kein Arbeitsspeicher mehr</translation>
    </message>
    <message>
        <source>Written: %1 blocks to %2</source>
        <translation>Geschrieben: %1 Blöcke nach %2</translation>
    </message>
    <message numerus="yes">
        <source>Read back equal: %n files</source>
        <translation>
            <numerusform>Gleich zurückgelesen: %n Datei</numerusform>
            <numerusform>Gleich zurückgelesen: %n Dateien</numerusform>
        </translation>
    </message>
    <message>
        <source>unknown file system &apos;%1&apos; (NTFS, FAT32, exFAT, ext4, UDF or ISO9660)</source>
        <translation>unbekanntes Dateisystem „%1“ (NTFS, FAT32, exFAT, ext4, UDF oder ISO9660)</translation>
    </message>
    <message>
        <source>Usage: quillmarch-cli series PROJECT [TARGET] [OPTIONS]
       quillmarch-cli series [--required PATH...] [--main PATH...]
                             [--background PATH...] TARGET [OPTIONS]

Plans a whole series of media of the target&apos;s kind for the entries of the
groups Required, Main and Background: medium 1 is filled as &quot;Dispense&quot; would
fill it, level by level, from all the entries, medium 2 from what is left, and
so on until every entry that fits a medium is placed. Required entries land
on the earliest media, Background on the last. Prints each medium as
  Medium N: COUNT entries, BYTES bytes used, BYTES bytes wasted (BLOCKS blocks)
followed by its entries&apos; paths, one a line, then
  Media: COUNT (lower bound BOUND)
where no series can use fewer media than BOUND. Entries that no medium can
hold (larger than one, a file of 4 GiB or more on FAT32, no longer there or
not readable) are named on standard error with the reason, and so are those
left out because an entry before them has the same name on the target.

Target (the project&apos;s own target when none is given): the capacity of one
medium is its free space.
  --target PATH         the volume or recorder holding PATH
  --fs FS --block-size N --free-blocks N
                        a medium given by its figures; FS is NTFS, FAT32,
                        exFAT, ext4, UDF or ISO9660 (or the type mount
                        prints)

Paths from a list, added to those of the group&apos;s option (&quot;-&quot;: standard
input), one a line, or each ended by a NUL when the list holds any:
  --required-from FILE, --main-from FILE, --background-from FILE

Options:
  --media N             show only the first N media of the series; the
                        entries of the others are counted as &quot;Not planned&quot;
  --time-limit SECONDS  the search of each medium takes the best fill found
                        in this time (default 2); that medium is then not
                        proven best
  --out-dir DIR         write each medium&apos;s list into DIR: medium-NN.txt, one
                        path a line, and medium-NN.nul, NUL-separated (lists
                        of an earlier, longer series there are removed; on a
                        failure the earlier lists stay as they were)
  --json                print one JSON object instead
  -h, --help            show this help

Progress goes to standard error when it is a terminal. Ctrl+C (or SIGTERM)
cancels; the lists of --out-dir are either all written or none.

Exit status: 0 every entry is on a medium (or left for --media), 1 some
entries fit no medium or share a name (the plan of the others is printed), 2 usage error, 3
target, project or file error, 4 entries that could not be measured were
left out, 5 the plan ran out of memory, 130 cancelled by Ctrl+C (SIGINT),
143 by SIGTERM.
</source>
        <translation>Aufruf: quillmarch-cli series PROJEKT [ZIEL] [OPTIONEN]
       quillmarch-cli series [--required PFAD...] [--main PFAD...]
                             [--background PFAD...] ZIEL [OPTIONEN]

Plant eine ganze Serie von Medien der Art des Ziels für die Einträge der
Gruppen Erforderlich, Haupt und Hintergrund: Medium 1 wird gefüllt, wie
„Zuteilen“ es füllen würde, Stufe für Stufe, aus allen Einträgen, Medium 2 aus
dem, was übrig ist, und so weiter, bis jeder Eintrag untergebracht ist, der auf
ein Medium passt. Erforderliche Einträge landen auf den ersten Medien,
Hintergrund auf den letzten. Gibt jedes Medium aus als
  Medium N: ANZAHL Einträge, BYTES Byte belegt, BYTES Byte ungenutzt (BLÖCKE Blöcke)
gefolgt von den Pfaden seiner Einträge, einer pro Zeile, dann
  Medien: ANZAHL (Untergrenze GRENZE)
wobei keine Serie mit weniger als GRENZE Medien auskommen kann. Einträge, die
kein Medium aufnehmen kann (größer als eines, eine Datei von 4 GiB oder mehr
auf FAT32, nicht mehr vorhanden oder nicht lesbar), werden mit dem Grund auf
der Standardfehlerausgabe genannt, ebenso solche, die ausgelassen wurden, weil
ein Eintrag vor ihnen denselben Namen auf dem Ziel hat.

Ziel (das eigene Ziel des Projekts, wenn keines angegeben ist): Die Kapazität
eines Mediums ist sein freier Speicher.
  --target PFAD         der Datenträger oder Brenner, der PFAD enthält
  --fs DS --block-size N --free-blocks N
                        ein Medium, angegeben durch seine Kennzahlen; DS ist
                        NTFS, FAT32, exFAT, ext4, UDF oder ISO9660 (oder
                        der Typ, den mount ausgibt)

Pfade aus einer Liste, zusätzlich zu denen der Option der Gruppe („-“:
Standardeingabe), einer pro Zeile oder jeder durch ein NUL beendet, wenn die
Liste eines enthält:
  --required-from DATEI, --main-from DATEI, --background-from DATEI

Optionen:
  --media N             nur die ersten N Medien der Serie zeigen; die Einträge
                        der anderen werden als „Nicht geplant“ gezählt
  --time-limit SEKUNDEN die Suche jedes Mediums nimmt die beste in dieser Zeit
                        gefundene Füllung (Vorgabe 2); dieses Medium ist dann
                        nicht nachweislich optimal
  --out-dir ORDNER      die Liste jedes Mediums nach ORDNER schreiben:
                        medium-NN.txt, ein Pfad pro Zeile, und medium-NN.nul,
                        durch NUL getrennt (Listen einer früheren, längeren
                        Serie dort werden entfernt; bei einem Fehler bleiben
                        die früheren Listen, wie sie waren)
  --json                stattdessen ein JSON-Objekt ausgeben
  -h, --help            diese Hilfe anzeigen

Der Fortschritt geht auf die Standardfehlerausgabe, wenn sie ein Terminal ist.
Strg+C (oder SIGTERM) bricht ab; die Listen von --out-dir werden entweder alle
geschrieben oder keine.

Rückgabewert: 0 jeder Eintrag ist auf einem Medium (oder für --media
zurückgestellt), 1 einige Einträge passen auf kein Medium oder teilen einen
Namen (der Plan der anderen wird ausgegeben), 2 Aufruffehler, 3 Ziel-,
Projekt- oder Dateifehler, 4 Einträge, die nicht vermessen werden konnten,
wurden ausgelassen, 5 der Planung ging der Arbeitsspeicher aus, 130 durch
Strg+C (SIGINT) abgebrochen, 143 durch SIGTERM.
</translation>
    </message>
    <message>
        <source>Usage: quillmarch-cli verify PROJECT [--target PATH] [--into FOLDER] [--json]

Checks that every entry of the project&apos;s &quot;Dispensed&quot; group arrived on the
target with the original&apos;s content, as the window&apos;s &quot;Delete the files&quot; does
before anything goes to the trash: an item of the entry&apos;s name directly in
PATH (the project&apos;s target when no --target is given; FOLDER below it with
--into) whose every file holds what the original holds. On the disc in a
recorder (PATH /dev/sr0, or stdio:PATH), an entry arrived when the disc is
one &apos;quillmarch-cli burn&apos; or the window wrote and read back equal, and none
of the entry&apos;s files changed since. A file of a copy
made by &apos;quillmarch-cli copy&apos; counts when its manifest (XXH128SUMS) and the
copy&apos;s journal agree on it and neither side changed size or time since it was
read back; every other file is read on both sides and compared, which takes
as long as reading them. A link where the original has a file, the original
itself (a bind mount, a link back, the same inode), a hard link the original
does not have, or another volume mounted inside the copy never counts. Entries
with the same name on the target share one copy, so none of them counts as
arrived. The project&apos;s target must still be the volume it was picked as: when
that volume is not mounted, or another is mounted in its place, nothing is
checked (exit status 3); a PATH given with --target is taken as it is. Prints
one line for each entry that did not arrive, fields separated by a tab, names
escaped as in every line of text:
  missing    PATH
  different  PATH  WHAT DIFFERS

Options:
  --target PATH   the target volume (or a folder on it)
  --into FOLDER   where below the target&apos;s root the entries were copied
  --json          print one JSON array instead, an object for each entry
                  (path, state: arrived, missing or different, detail)
  -h, --help      show this help

Progress goes to standard error when it is a terminal; Ctrl+C stops.

Exit status: 0 every dispensed entry arrived, 1 some did not (or nothing is
dispensed), 2 usage error, 3 project or target error, 130 stopped by Ctrl+C
(SIGINT), 143 by SIGTERM.
</source>
        <translation>Aufruf: quillmarch-cli verify PROJEKT [--target PFAD] [--into ORDNER] [--json]

Prüft, ob jeder Eintrag der Gruppe „Zugeteilt“ des Projekts mit dem Inhalt des
Originals auf dem Ziel angekommen ist, wie es „Dateien löschen“ im
Programmfenster tut, bevor etwas in den Papierkorb kommt: ein Element mit dem
Namen des Eintrags direkt in PFAD (dem Ziel des Projekts, wenn kein --target
angegeben ist; ORDNER darunter mit --into), dessen Dateien alle enthalten, was
das Original enthält. Auf der Disc in einem Brenner (PFAD /dev/sr0 oder
stdio:PFAD) ist ein Eintrag angekommen, wenn „quillmarch-cli burn“ oder das
Programmfenster die Disc geschrieben und gleich zurückgelesen hat und sich
seitdem keine Datei des Eintrags geändert hat. Eine Datei einer Kopie von
„quillmarch-cli copy“ zählt,
wenn ihr Manifest (XXH128SUMS) und das Protokoll der Kopie übereinstimmen und
keine Seite seit dem Zurücklesen Größe oder Zeit geändert hat; jede andere
Datei wird auf beiden Seiten gelesen und verglichen, was so lange dauert wie
das Lesen. Eine Verknüpfung, wo das Original eine Datei hat, das Original
selbst (ein Bind-Mount, eine Verknüpfung zurück, derselbe Inode) oder ein in
der Kopie eingehängter anderer Datenträger zählt nie. Einträge mit demselben
Namen auf dem Ziel teilen sich eine Kopie, daher gilt keiner von ihnen als
angekommen. Gibt eine Zeile für jeden Eintrag aus, der nicht angekommen ist,
Felder durch Tabulator getrennt, Namen maskiert wie in jeder Textzeile:
  missing    PFAD
  different  PFAD  WAS ABWEICHT

Optionen:
  --target PFAD   der Zieldatenträger (oder ein Ordner darauf)
  --into ORDNER   wohin unterhalb der Wurzel des Ziels die Einträge kopiert
                  wurden
  --json          stattdessen ein JSON-Array ausgeben, ein Objekt für jeden
                  Eintrag (path, state: arrived, missing oder different,
                  detail)
  -h, --help      diese Hilfe anzeigen

Der Fortschritt geht auf die Standardfehlerausgabe, wenn sie ein Terminal ist;
Strg+C hält an.

Rückgabewert: 0 jeder zugeteilte Eintrag ist angekommen, 1 einige nicht (oder
nichts ist zugeteilt), 2 Aufruffehler, 3 Projekt- oder Zielfehler, 130 durch
Strg+C (SIGINT) angehalten, 143 durch SIGTERM.
</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Fills a disk volume or an optical disc as fully as possible from prioritised files and folders.</source>
        <translation>Füllt einen Datenträger oder eine optische Disc so vollständig wie möglich mit priorisierten Dateien und Ordnern.</translation>
    </message>
    <message>
        <source>file</source>
        <translation>datei</translation>
    </message>
    <message>
        <source>The project to open (*.qmp).</source>
        <translation>Das zu öffnende Projekt (*.qmp).</translation>
    </message>
    <message>
        <source>[FILE]</source>
        <translation>[DATEI]</translation>
    </message>
    <message>
        <source>quillmarch: one project at a time</source>
        <translation>quillmarch: Nur ein Projekt auf einmal</translation>
    </message>
</context>
<context>
    <name>ContentArrival</name>
    <message>
        <source>the check was stopped</source>
        <translation>die Prüfung wurde angehalten</translation>
    </message>
    <message>
        <source>cannot be read on the target: %1</source>
        <translation>kann auf dem Ziel nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>the original could not be read</source>
        <translation>das Original konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>different content from byte %1 on</source>
        <translation>anderer Inhalt ab Byte %1</translation>
    </message>
    <message>
        <source>the original no longer exists</source>
        <translation>das Original existiert nicht mehr</translation>
    </message>
    <message>
        <source>the original could not be read (%1)</source>
        <translation>das Original konnte nicht gelesen werden (%1)</translation>
    </message>
    <message>
        <source>that is the original itself</source>
        <translation>das ist das Original selbst</translation>
    </message>
    <message>
        <source>a link or another volume on the way to it</source>
        <translation>eine Verknüpfung oder ein anderer Datenträger auf dem Weg dorthin</translation>
    </message>
    <message>
        <source>not on the target</source>
        <translation>nicht auf dem Ziel</translation>
    </message>
    <message>
        <source>not the same link on the target</source>
        <translation>nicht dieselbe Verknüpfung auf dem Ziel</translation>
    </message>
    <message>
        <source>a link on the target</source>
        <translation>eine Verknüpfung auf dem Ziel</translation>
    </message>
    <message>
        <source>not a folder on the target</source>
        <translation>kein Ordner auf dem Ziel</translation>
    </message>
    <message>
        <source>not a file on the target</source>
        <translation>keine Datei auf dem Ziel</translation>
    </message>
    <message>
        <source>%1 bytes on the target, %2 here</source>
        <translation>%1 Byte auf dem Ziel, %2 hier</translation>
    </message>
    <message>
        <source>cannot be read on the target</source>
        <translation>kann auf dem Ziel nicht gelesen werden</translation>
    </message>
    <message>
        <source>changed while it was compared</source>
        <translation>wurde während des Vergleichs geändert</translation>
    </message>
    <message>
        <source>its place on the target cannot be read</source>
        <translation>sein Platz auf dem Ziel kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>the target is no longer where it was checked</source>
        <translation>das Ziel ist nicht mehr dort, wo es geprüft wurde</translation>
    </message>
    <message>
        <source>changed since it was checked</source>
        <translation>seit der Prüfung geändert</translation>
    </message>
    <message>
        <source>nothing to check</source>
        <translation>nichts zu prüfen</translation>
    </message>
    <message>
        <source>a hard link to another file on the target</source>
        <translation>ein harter Link auf eine andere Datei auf dem Ziel</translation>
    </message>
    <message>
        <source>%1 bytes on the target, %2 here, changed after it was copied</source>
        <translation>%1 Byte auf dem Ziel, %2 hier, nach dem Kopieren geändert</translation>
    </message>
    <message>
        <source>no data on the target, only its length</source>
        <translation>keine Daten auf dem Ziel, nur seine Länge</translation>
    </message>
    <message>
        <source>different content from byte %1 on, changed after it was copied</source>
        <translation>anderer Inhalt ab Byte %1, nach dem Kopieren geändert</translation>
    </message>
</context>
<context>
    <name>CopyDlg</name>
    <message>
        <source>Copy to Target</source>
        <translation>Auf das Ziel kopieren</translation>
    </message>
    <message>
        <source>Listing the entries...</source>
        <translation>Einträge werden aufgelistet …</translation>
    </message>
    <message>
        <source>Copying %1 of %2</source>
        <translation>%1 von %2 werden kopiert</translation>
    </message>
    <message>
        <source>Reading back %1 of %2</source>
        <translation>%1 von %2 werden zurückgelesen</translation>
    </message>
    <message>
        <source>Writing the manifest...</source>
        <translation>Manifest wird geschrieben …</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n files</source>
        <translation>
            <numerusform>%1 von %n Datei</numerusform>
            <numerusform>%1 von %n Dateien</numerusform>
        </translation>
    </message>
    <message>
        <source>%1/s</source>
        <translation>%1/s</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>noch %1</translation>
    </message>
    <message>
        <source>Stopping...</source>
        <translation>Wird angehalten …</translation>
    </message>
</context>
<context>
    <name>CopyEngine</name>
    <message>
        <source>The target is full: %1 could not be written</source>
        <translation>Das Ziel ist voll: %1 konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>The target is no longer there or fails: %1 (%2)</source>
        <translation>Das Ziel ist nicht mehr vorhanden oder fehlerhaft: %1 (%2)</translation>
    </message>
    <message>
        <source>could not be read back: %1</source>
        <translation>konnte nicht zurückgelesen werden: %1</translation>
    </message>
    <message>
        <source>could not be written on the target: %1</source>
        <translation>konnte auf dem Ziel nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1: an entry cannot have the name of the manifest</source>
        <translation>%1: Ein Eintrag darf nicht den Namen des Manifests tragen</translation>
    </message>
    <message>
        <source>%1 lies inside %2: a copy into the original itself</source>
        <translation>%1 liegt in %2: eine Kopie in das Original selbst</translation>
    </message>
    <message>
        <source>%1 in %2 is the original itself</source>
        <translation>%1 in %2 ist das Original selbst</translation>
    </message>
    <message>
        <source>The copy&apos;s journal %1 cannot be written: %2</source>
        <translation>Das Protokoll der Kopie %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>%1 is already in %2 and was not put there by this copy: copy into another folder, or remove it first</source>
        <translation>%1 ist bereits in %2 und stammt nicht von dieser Kopie: Kopieren Sie in einen anderen Ordner oder entfernen Sie es zuerst</translation>
    </message>
    <message>
        <source>is on the target already, and not as a folder</source>
        <translation>ist bereits auf dem Ziel, aber nicht als Ordner</translation>
    </message>
    <message>
        <source>%1 on the target is the original itself</source>
        <translation>%1 auf dem Ziel ist das Original selbst</translation>
    </message>
    <message>
        <source>a link that leads nowhere: the target cannot hold links</source>
        <translation>eine Verknüpfung, die ins Leere führt: Das Ziel kann keine Verknüpfungen aufnehmen</translation>
    </message>
    <message>
        <source>no longer exists</source>
        <translation>existiert nicht mehr</translation>
    </message>
    <message>
        <source>the original cannot be read: %1</source>
        <translation>das Original kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>is on the target already, as a folder</source>
        <translation>ist bereits auf dem Ziel, als Ordner</translation>
    </message>
    <message>
        <source>the original changed while it was copied</source>
        <translation>das Original wurde während des Kopierens geändert</translation>
    </message>
    <message>
        <source>is gone from the target</source>
        <translation>ist vom Ziel verschwunden</translation>
    </message>
    <message>
        <source>%1 bytes on the target, %2 written</source>
        <translation>%1 Byte auf dem Ziel, %2 geschrieben</translation>
    </message>
    <message>
        <source>read back different from what was written: the medium does not keep what is written to it</source>
        <translation>weicht beim Zurücklesen vom Geschriebenen ab: Das Medium behält nicht, was darauf geschrieben wird</translation>
    </message>
    <message>
        <source>a folder reached again through a link: copied once only</source>
        <translation>ein über eine Verknüpfung erneut erreichter Ordner: nur einmal kopiert</translation>
    </message>
    <message>
        <source>not a file or folder: nothing to copy</source>
        <translation>weder Datei noch Ordner: nichts zu kopieren</translation>
    </message>
    <message>
        <source>Cancelled: run the copy again to go on where it stopped</source>
        <translation>Abgebrochen: Starten Sie die Kopie erneut, um dort fortzufahren, wo sie angehalten wurde</translation>
    </message>
    <message>
        <source>The copy ran out of memory</source>
        <translation>Der Kopie ging der Arbeitsspeicher aus</translation>
    </message>
    <message>
        <source>%1 and %2 are one name on the target: only one of them can be copied into one folder</source>
        <translation>%1 und %2 sind auf dem Ziel ein Name: Nur einer von ihnen kann in einen Ordner kopiert werden</translation>
    </message>
</context>
<context>
    <name>CopyJournal</name>
    <message>
        <source>cannot make the folder %1</source>
        <translation>der Ordner %1 kann nicht angelegt werden</translation>
    </message>
</context>
<context>
    <name>CopyManifest</name>
    <message>
        <source>not a plain file</source>
        <translation>keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>cannot be opened</source>
        <translation>kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>cannot be written</source>
        <translation>kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>did not read back as written</source>
        <translation>ließ sich nicht so zurücklesen, wie es geschrieben wurde</translation>
    </message>
    <message>
        <source>cannot be closed</source>
        <translation>kann nicht geschlossen werden</translation>
    </message>
</context>
<context>
    <name>DeleteDlg</name>
    <message>
        <source>arrived</source>
        <translation>angekommen</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>fehlt</translation>
    </message>
    <message>
        <source>differs</source>
        <translation>weicht ab</translation>
    </message>
    <message>
        <source>not checked</source>
        <translation>nicht geprüft</translation>
    </message>
    <message>
        <source>Delete the files</source>
        <translation>Dateien löschen</translation>
    </message>
    <message>
        <source>Nothing was checked, so no original can go to the trash.</source>
        <translation>Es wurde nichts geprüft, daher kann kein Original in den Papierkorb.</translation>
    </message>
    <message>
        <source>None of the dispensed entries arrived on the target with the same content, so no original can go to the trash.</source>
        <translation>Keiner der zugeteilten Einträge ist mit demselben Inhalt auf dem Ziel angekommen, daher kann kein Original in den Papierkorb.</translation>
    </message>
    <message numerus="yes">
        <source>All %n dispensed entries arrived on the target with the same content. Move their originals to the trash?</source>
        <translation>
            <numerusform>Der zugeteilte Eintrag ist mit demselben Inhalt auf dem Ziel angekommen. Sein Original in den Papierkorb verschieben?</numerusform>
            <numerusform>Alle %n zugeteilten Einträge sind mit demselben Inhalt auf dem Ziel angekommen. Ihre Originale in den Papierkorb verschieben?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n of %1 dispensed entries arrived on the target with the same content. Move their originals to the trash? The others stay dispensed.</source>
        <translation>
            <numerusform>%n von %1 zugeteilten Einträgen ist mit demselben Inhalt auf dem Ziel angekommen. Sein Original in den Papierkorb verschieben? Die anderen bleiben zugeteilt.</numerusform>
            <numerusform>%n von %1 zugeteilten Einträgen sind mit demselben Inhalt auf dem Ziel angekommen. Ihre Originale in den Papierkorb verschieben? Die anderen bleiben zugeteilt.</numerusform>
        </translation>
    </message>
    <message>
        <source>Arrived: %1    Missing: %2    Differs: %3    Not checked: %4</source>
        <translation>Angekommen: %1    Fehlen: %2    Weichen ab: %3    Nicht geprüft: %4</translation>
    </message>
    <message>
        <source>Looked in: %1</source>
        <translation>Gesucht in: %1</translation>
    </message>
    <message>
        <source>Entry</source>
        <translation>Eintrag</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Zustand</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Grund</translation>
    </message>
    <message>
        <source>&amp;Look in a Folder...</source>
        <translation>In einem &amp;Ordner suchen …</translation>
    </message>
    <message>
        <source>&amp;Move %1 to Trash</source>
        <translation>%1 in den &amp;Papierkorb verschieben</translation>
    </message>
    <message>
        <source>&amp;Move to Trash</source>
        <translation>In den &amp;Papierkorb verschieben</translation>
    </message>
    <message>
        <source>Comparing the copies on the target with the originals...</source>
        <translation>Die Kopien auf dem Ziel werden mit den Originalen verglichen …</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Comparing the copies on the target with the originals: %1 of %2 read
%3</source>
        <translation>Die Kopien auf dem Ziel werden mit den Originalen verglichen: %1 von %2 gelesen
%3</translation>
    </message>
</context>
<context>
    <name>DiscArrival</name>
    <message>
        <source>The disc in %1 was not written and read back by Quillmarch</source>
        <translation>Die Disc in %1 wurde nicht von Quillmarch geschrieben und zurückgelesen</translation>
    </message>
    <message>
        <source>No disc written by Quillmarch is in %1</source>
        <translation>In %1 liegt keine von Quillmarch geschriebene Disc</translation>
    </message>
    <message>
        <source>the disc in %1 is no longer the one checked</source>
        <translation>die Disc in %1 ist nicht mehr die geprüfte</translation>
    </message>
    <message>
        <source>the original could not be read</source>
        <translation>das Original konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>not on the disc</source>
        <translation>nicht auf der Disc</translation>
    </message>
    <message>
        <source>changed since the disc was written</source>
        <translation>seit dem Schreiben der Disc geändert</translation>
    </message>
</context>
<context>
    <name>DiscIdentity</name>
    <message>
        <source>No disc in the recorder</source>
        <translation>Keine Disc im Brenner</translation>
    </message>
    <message>
        <source>The drive cannot be read</source>
        <translation>Das Laufwerk kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>The disc holds no files</source>
        <translation>Die Disc enthält keine Dateien</translation>
    </message>
    <message>
        <source>The disc was not written by this program</source>
        <translation>Die Disc wurde nicht von diesem Programm geschrieben</translation>
    </message>
</context>
<context>
    <name>DiscReadBack</name>
    <message>
        <source>libisofs cannot start</source>
        <translation>libisofs kann nicht starten</translation>
    </message>
    <message>
        <source>The written session cannot be read: %1</source>
        <translation>Die geschriebene Sitzung kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>changed while it was written</source>
        <translation>wurde während des Schreibens geändert</translation>
    </message>
    <message>
        <source>is missing on the disc</source>
        <translation>fehlt auf der Disc</translation>
    </message>
    <message>
        <source>has another size on the disc</source>
        <translation>hat auf der Disc eine andere Größe</translation>
    </message>
    <message>
        <source>cannot be read here any more</source>
        <translation>kann hier nicht mehr gelesen werden</translation>
    </message>
    <message>
        <source>cannot be read on the disc</source>
        <translation>kann auf der Disc nicht gelesen werden</translation>
    </message>
    <message>
        <source>is shorter on the disc</source>
        <translation>ist auf der Disc kürzer</translation>
    </message>
    <message>
        <source>holds other bytes on the disc</source>
        <translation>enthält auf der Disc andere Bytes</translation>
    </message>
</context>
<context>
    <name>DiscRecord</name>
    <message>
        <source>cannot make the folder %1</source>
        <translation>der Ordner %1 kann nicht angelegt werden</translation>
    </message>
</context>
<context>
    <name>DiscRun</name>
    <message>
        <source>Nothing is dispensed</source>
        <translation>Nichts ist zugeteilt</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be measured: put it back or dispense again</source>
        <translation>„%1“ konnte nicht vermessen werden: Legen Sie es zurück oder teilen Sie erneut zu</translation>
    </message>
    <message>
        <source>Cancelled before writing</source>
        <translation>Vor dem Schreiben abgebrochen</translation>
    </message>
    <message>
        <source>&quot;%1&quot; can no longer be read in full</source>
        <translation>„%1“ kann nicht mehr vollständig gelesen werden</translation>
    </message>
    <message>
        <source>&quot;%1&quot; changed since it was planned: dispense again</source>
        <translation>„%1“ hat sich seit der Planung geändert: Teilen Sie erneut zu</translation>
    </message>
    <message>
        <source>The disc was read back equal, but its record for &quot;Delete the files&quot; could not be kept: %1</source>
        <translation>Die Disc wurde gleich zurückgelesen, aber ihr Nachweis für „Dateien löschen“ konnte nicht gespeichert werden: %1</translation>
    </message>
</context>
<context>
    <name>DiscWriteDlg</name>
    <message>
        <source>Preparing the image...</source>
        <translation>Abbild wird vorbereitet …</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>Wird abgebrochen …</translation>
    </message>
    <message>
        <source>Writing %1: %2%</source>
        <translation>%1 werden geschrieben: %2 %</translation>
    </message>
    <message>
        <source>Closing the disc...</source>
        <translation>Disc wird abgeschlossen …</translation>
    </message>
    <message>
        <source>Reading back %1: %2%</source>
        <translation>%1 werden zurückgelesen: %2 %</translation>
    </message>
    <message>
        <source>%1/s</source>
        <translation>%1/s</translation>
    </message>
    <message>
        <source>drive buffer %1%</source>
        <translation>Laufwerkspuffer %1 %</translation>
    </message>
    <message>
        <source>data waiting %1%</source>
        <translation>wartende Daten %1 %</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>noch %1</translation>
    </message>
</context>
<context>
    <name>DiscWriter</name>
    <message>
        <source>&quot;%1&quot; changed since it was planned: it holds %2 now, %3 then</source>
        <translation>„%1“ hat sich seit der Planung geändert: Es enthält jetzt %2, damals %3</translation>
    </message>
    <message>
        <source>The files changed since planning: the image needs %1 blocks where the plan counted %2</source>
        <translation>Die Dateien haben sich seit der Planung geändert: Das Abbild braucht %1 Blöcke, der Plan zählte %2</translation>
    </message>
    <message>
        <source>The image needs %1, but there is room for %2 only</source>
        <translation>Das Abbild braucht %1, aber es ist nur Platz für %2</translation>
    </message>
    <message>
        <source>libisofs would write a damaged image of these files (%1)</source>
        <translation>libisofs würde ein beschädigtes Abbild dieser Dateien schreiben (%1)</translation>
    </message>
    <message>
        <source>Written; reading it back was cancelled</source>
        <translation>Geschrieben; das Zurücklesen wurde abgebrochen</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) read back differ from their source</source>
        <translation>
            <numerusform>%n zurückgelesene Datei weicht von ihrer Quelle ab</numerusform>
            <numerusform>%n zurückgelesene Dateien weichen von ihrer Quelle ab</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancelled before writing</source>
        <translation>Vor dem Schreiben abgebrochen</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be written: %2</source>
        <translation>„%1“ kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cancelled; no image was written</source>
        <translation>Abgebrochen; es wurde kein Abbild geschrieben</translation>
    </message>
    <message>
        <source>it ended early</source>
        <translation>es endete vorzeitig</translation>
    </message>
    <message>
        <source>The image could not be written: %1</source>
        <translation>Das Abbild konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>The image cannot be read back</source>
        <translation>Das Abbild kann nicht zurückgelesen werden</translation>
    </message>
    <message>
        <source>libburn cannot start</source>
        <translation>libburn kann nicht starten</translation>
    </message>
    <message>
        <source>The disc already holds files; they would be overwritten</source>
        <translation>Die Disc enthält bereits Dateien; sie würden überschrieben</translation>
    </message>
    <message>
        <source>The files already on the disc cannot be read</source>
        <translation>Die Dateien, die bereits auf der Disc sind, können nicht gelesen werden</translation>
    </message>
    <message>
        <source>The recorder cannot write this disc: %1</source>
        <translation>Der Brenner kann diese Disc nicht beschreiben: %1</translation>
    </message>
    <message>
        <source>Cancelled while writing</source>
        <translation>Während des Schreibens abgebrochen</translation>
    </message>
    <message>
        <source>Writing failed: %1</source>
        <translation>Schreiben fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Nothing to write</source>
        <translation>Nichts zu schreiben</translation>
    </message>
    <message>
        <source>&quot;%1&quot; changed since it was planned: dispense again</source>
        <translation>„%1“ hat sich seit der Planung geändert: Teilen Sie erneut zu</translation>
    </message>
</context>
<context>
    <name>DispenseBoard</name>
    <message>
        <source>This search may take long. Accept takes the best selection found so far.</source>
        <translation>Diese Suche kann lange dauern. „Übernehmen“ nimmt die beste bisher gefundene Auswahl.</translation>
    </message>
    <message>
        <source>Elapsed: %1 of %2 (time limit)</source>
        <translation>Vergangen: %1 von %2 (Zeitlimit)</translation>
    </message>
    <message>
        <source>Elapsed: %1</source>
        <translation>Vergangen: %1</translation>
    </message>
    <message>
        <source>Time limit reached: taking the best selection found so far</source>
        <translation>Zeitlimit erreicht: Die beste bisher gefundene Auswahl wird übernommen</translation>
    </message>
    <message>
        <source>Starting...</source>
        <translation>Wird gestartet …</translation>
    </message>
    <message>
        <source>Wasted space: %1</source>
        <translation>Ungenutzter Platz: %1</translation>
    </message>
    <message>
        <source>Next level</source>
        <translation>Nächste Stufe</translation>
    </message>
    <message>
        <source>Accept</source>
        <translation>Übernehmen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Dispense</source>
        <translation>Zuteilen</translation>
    </message>
</context>
<context>
    <name>Dispenser</name>
    <message>
        <source>The search ran out of memory</source>
        <translation>Der Suche ging der Arbeitsspeicher aus</translation>
    </message>
    <message>
        <source>Measuring %1 (%2 of %3)</source>
        <translation>%1 wird vermessen (%2 von %3)</translation>
    </message>
    <message>
        <source>Searching %1</source>
        <translation>%1 wird durchsucht</translation>
    </message>
</context>
<context>
    <name>EditTarget</name>
    <message>
        <source>Pick a Target Storage</source>
        <translation>Zieldatenträger wählen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>The disc has no room left for files</source>
        <translation>Auf der Disc ist kein Platz mehr für Dateien</translation>
    </message>
    <message>
        <source>Mount point</source>
        <translation>Einhängepunkt</translation>
    </message>
    <message>
        <source>Label</source>
        <translation>Bezeichnung</translation>
    </message>
    <message>
        <source>File system</source>
        <translation>Dateisystem</translation>
    </message>
    <message>
        <source>Free space</source>
        <translation>Freier Speicher</translation>
    </message>
    <message>
        <source>Disc</source>
        <translation>Disc</translation>
    </message>
    <message>
        <source>The drive cannot be read</source>
        <translation>Das Laufwerk kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>F&amp;ree space:</source>
        <translation>F&amp;reier Speicher:</translation>
    </message>
    <message>
        <source>Other...</source>
        <translation>Andere …</translation>
    </message>
    <message>
        <source>Plan as if for a medium you describe: its file system, block size and free space</source>
        <translation>Planen wie für ein Medium, das Sie beschreiben: sein Dateisystem, seine Blockgröße und sein freier Speicher</translation>
    </message>
    <message>
        <source>Enter the free space of the medium.</source>
        <translation>Geben Sie den freien Speicher des Mediums ein.</translation>
    </message>
    <message>
        <source>Write the disc as:</source>
        <translation>Disc schreiben als:</translation>
    </message>
    <message>
        <source>ISO 9660 with Rock Ridge and Joliet</source>
        <translation>ISO 9660 mit Rock Ridge und Joliet</translation>
    </message>
    <message>
        <source>UDF (for a burner that writes UDF)</source>
        <translation>UDF (für ein Brennprogramm, das UDF schreibt)</translation>
    </message>
</context>
<context>
    <name>Engine</name>
    <message numerus="yes">
        <source>Measuring %n folders...</source>
        <translation>
            <numerusform>%n Ordner wird vermessen …</numerusform>
            <numerusform>%n Ordner werden vermessen …</numerusform>
        </translation>
    </message>
    <message>
        <source>Selecting...</source>
        <translation>Wird ausgewählt …</translation>
    </message>
    <message numerus="yes">
        <source>%1 (and %n more not added)</source>
        <translation>
            <numerusform>%1 (und %n weiterer nicht hinzugefügt)</numerusform>
            <numerusform>%1 (und %n weitere nicht hinzugefügt)</numerusform>
        </translation>
    </message>
    <message>
        <source>Loading %1...</source>
        <translation>%1 wird geladen …</translation>
    </message>
    <message numerus="yes">
        <source>Removing %n entries...</source>
        <translation>
            <numerusform>%n Eintrag wird entfernt …</numerusform>
            <numerusform>%n Einträge werden entfernt …</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Moving %n entries...</source>
        <translation>
            <numerusform>%n Eintrag wird verschoben …</numerusform>
            <numerusform>%n Einträge werden verschoben …</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n could not be read in full</source>
        <translation>
            <numerusform>%n konnte nicht vollständig gelesen werden</numerusform>
            <numerusform>%n konnten nicht vollständig gelesen werden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n no longer exist</source>
        <translation>
            <numerusform>%n existiert nicht mehr</numerusform>
            <numerusform>%n existieren nicht mehr</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n ran out of memory</source>
        <translation>
            <numerusform>bei %n ging der Arbeitsspeicher aus</numerusform>
            <numerusform>bei %n ging der Arbeitsspeicher aus</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Left out of the plan: %n entries (%1)</source>
        <translation>
            <numerusform>Im Plan ausgelassen: %n Eintrag (%1)</numerusform>
            <numerusform>Im Plan ausgelassen: %n Einträge (%1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n entries left out: an entry before each has the same name on the target, so only one could be copied; rename one to dispense both: %1</source>
        <translation>
            <numerusform>%n Eintrag ausgelassen: Ein Eintrag davor hat denselben Namen auf dem Ziel, daher könnte nur einer kopiert werden; benennen Sie einen um, um beide zuzuteilen: %1</numerusform>
            <numerusform>%n Einträge ausgelassen: Jeweils ein Eintrag davor hat denselben Namen auf dem Ziel, daher könnte nur einer kopiert werden; benennen Sie einen um, um beide zuzuteilen: %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n entries left out that the target cannot hold: %1</source>
        <translation>
            <numerusform>%n Eintrag ausgelassen, den das Ziel nicht aufnehmen kann: %1</numerusform>
            <numerusform>%n Einträge ausgelassen, die das Ziel nicht aufnehmen kann: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>the target folder on FAT32 holds at most 65,536 directory entries (a long name takes several), so the smallest chosen entries were left out</source>
        <translation>der Zielordner auf FAT32 fasst höchstens 65.536 Verzeichniseinträge (ein langer Name belegt mehrere), daher wurden die kleinsten gewählten Einträge ausgelassen</translation>
    </message>
    <message numerus="yes">
        <source>%n Required entries did not fit</source>
        <translation>
            <numerusform>%n erforderlicher Eintrag passte nicht</numerusform>
            <numerusform>%n erforderliche Einträge passten nicht</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 was not searched: the search was accepted before it</source>
        <translation>%1 wurde nicht durchsucht: Die Suche wurde vorher übernommen</translation>
    </message>
    <message numerus="yes">
        <source>Dispensing %n entries...</source>
        <translation>
            <numerusform>%n Eintrag wird zugeteilt …</numerusform>
            <numerusform>%n Einträge werden zugeteilt …</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Putting back %n entries...</source>
        <translation>
            <numerusform>%n Eintrag wird zurückgelegt …</numerusform>
            <numerusform>%n Einträge werden zurückgelegt …</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n dispensed entries were not posted: an entry before each has the same name on the target: %1</source>
        <translation>
            <numerusform>%n zugeteilter Eintrag wurde nicht abgelegt: Ein Eintrag davor hat denselben Namen auf dem Ziel: %1</numerusform>
            <numerusform>%n zugeteilte Einträge wurden nicht abgelegt: Jeweils ein Eintrag davor hat denselben Namen auf dem Ziel: %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Moving %n items to the trash...</source>
        <translation>
            <numerusform>%n Element wird in den Papierkorb verschoben …</numerusform>
            <numerusform>%n Elemente werden in den Papierkorb verschoben …</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n entries kept: each has the same name on the target as another, so one copy cannot stand for both: %1</source>
        <translation>
            <numerusform>%n Eintrag behalten: Er hat denselben Namen auf dem Ziel wie ein anderer, daher kann eine Kopie nicht für beide stehen: %1</numerusform>
            <numerusform>%n Einträge behalten: Jeder hat denselben Namen auf dem Ziel wie ein anderer, daher kann eine Kopie nicht für beide stehen: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>The project could not be loaded.</source>
        <translation>Das Projekt konnte nicht geladen werden.</translation>
    </message>
    <message>
        <source>The project could not be saved.</source>
        <translation>Das Projekt konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Cannot dispense to %1: %2</source>
        <translation>Zuteilen für %1 nicht möglich: %2</translation>
    </message>
    <message>
        <source>Dispensed file(s) has been posted to the clipboard</source>
        <translation>Die zugeteilten Dateien wurden in die Zwischenablage gelegt</translation>
    </message>
    <message>
        <source>Could not be moved to the trash: %1</source>
        <translation>Konnte nicht in den Papierkorb verschoben werden: %1</translation>
    </message>
    <message>
        <source>READY</source>
        <translation>BEREIT</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is already in the project.</source>
        <translation>„%1“ ist bereits im Projekt.</translation>
    </message>
    <message>
        <source>Did not arrive on the target, still dispensed: %1</source>
        <translation>Nicht auf dem Ziel angekommen, weiterhin zugeteilt: %1</translation>
    </message>
    <message>
        <source>Changed since the check, still dispensed: %1</source>
        <translation>Seit der Prüfung geändert, weiterhin zugeteilt: %1</translation>
    </message>
    <message>
        <source>the volume&apos;s free inodes ran out before its free space (ext4 stores each file, folder and link in one of a fixed number), so the smallest chosen entries were left out</source>
        <translation>die freien Inodes des Datenträgers gingen vor seinem freien Speicher aus (ext4 legt jede Datei, jeden Ordner und jede Verknüpfung in einem von fest vielen ab), daher wurden die kleinsten gewählten Einträge ausgelassen</translation>
    </message>
    <message>
        <source>the target folder on exFAT holds at most 256 MiB of names, so the smallest chosen entries were left out</source>
        <translation>der Zielordner auf exFAT fasst höchstens 256 MiB an Namen, daher wurden die kleinsten gewählten Einträge ausgelassen</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>und %n weiterer</numerusform>
            <numerusform>und %n weitere</numerusform>
        </translation>
    </message>
    <message>
        <source>Cannot copy to %1: it is not a mounted volume</source>
        <translation>Kopieren nach %1 nicht möglich: Es ist kein eingehängter Datenträger</translation>
    </message>
    <message>
        <source>%1 is not on the target %2: nothing was copied</source>
        <translation>%1 liegt nicht auf dem Ziel %2: Es wurde nichts kopiert</translation>
    </message>
    <message>
        <source>%1 cannot be made on the target: nothing was copied</source>
        <translation>%1 kann auf dem Ziel nicht angelegt werden: Es wurde nichts kopiert</translation>
    </message>
    <message>
        <source>Nothing was copied: %1</source>
        <translation>Es wurde nichts kopiert: %1</translation>
    </message>
    <message>
        <source>The copy could not be started</source>
        <translation>Die Kopie konnte nicht gestartet werden</translation>
    </message>
    <message numerus="yes">
        <source>Copied and verified %n files in %1</source>
        <translation>
            <numerusform>%n Datei in %1 kopiert und geprüft</numerusform>
            <numerusform>%n Dateien in %1 kopiert und geprüft</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files were not copied or did not read back equal</source>
        <translation>
            <numerusform>%n Datei wurde nicht kopiert oder nicht gleich zurückgelesen</numerusform>
            <numerusform>%n Dateien wurden nicht kopiert oder nicht gleich zurückgelesen</numerusform>
        </translation>
    </message>
    <message>
        <source>The copy was stopped: Copy to Target again goes on where it stopped</source>
        <translation>Die Kopie wurde angehalten: Ein erneutes „Auf das Ziel kopieren“ macht dort weiter, wo sie angehalten hat</translation>
    </message>
    <message numerus="yes">
        <source>%n dispensed entries were not copied: an entry before each has the same name on the target: %1</source>
        <translation>
            <numerusform>%n zugeteilter Eintrag wurde nicht kopiert: Ein Eintrag davor hat denselben Namen auf dem Ziel: %1</numerusform>
            <numerusform>%n zugeteilte Einträge wurden nicht kopiert: Jeweils ein Eintrag davor hat denselben Namen auf dem Ziel: %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Add %n Entries</source>
        <translation>
            <numerusform>%n Eintrag hinzufügen</numerusform>
            <numerusform>%n Einträge hinzufügen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Remove %n Entries</source>
        <translation>
            <numerusform>%n Eintrag entfernen</numerusform>
            <numerusform>%n Einträge entfernen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Move %n Entries Up</source>
        <translation>
            <numerusform>%n Eintrag nach oben verschieben</numerusform>
            <numerusform>%n Einträge nach oben verschieben</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Move %n Entries Down</source>
        <translation>
            <numerusform>%n Eintrag nach unten verschieben</numerusform>
            <numerusform>%n Einträge nach unten verschieben</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Move %n Entries to %1</source>
        <translation>
            <numerusform>%n Eintrag in die Gruppe „%1“ verschieben</numerusform>
            <numerusform>%n Einträge in die Gruppe „%1“ verschieben</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The image was written and read back equal: %n file(s)</source>
        <translation>
            <numerusform>Das Abbild wurde geschrieben und gleich zurückgelesen: %n Datei</numerusform>
            <numerusform>Das Abbild wurde geschrieben und gleich zurückgelesen: %n Dateien</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The disc was written and read back equal: %n file(s)</source>
        <translation>
            <numerusform>Die Disc wurde geschrieben und gleich zurückgelesen: %n Datei</numerusform>
            <numerusform>Die Disc wurde geschrieben und gleich zurückgelesen: %n Dateien</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>How many files differ, then their names and why.</extracomment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>there is room for %1 on the target, and the smallest entry, &quot;%2&quot;, takes %3</source>
        <translation>auf dem Ziel ist Platz für %1, und der kleinste Eintrag, „%2“, belegt %3</translation>
    </message>
    <message>
        <source>Nothing was dispensed</source>
        <translation>Nichts wurde zugeteilt</translation>
    </message>
    <message>
        <source>Nothing fits on the target</source>
        <translation>Nichts passt auf das Ziel</translation>
    </message>
    <message numerus="yes">
        <source>Dispense %n Entries</source>
        <translation>
            <numerusform>%n Eintrag zuteilen</numerusform>
            <numerusform>%n Einträge zuteilen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Undispense %n Entries</source>
        <translation>
            <numerusform>Zuteilung von %n Eintrag aufheben</numerusform>
            <numerusform>Zuteilung von %n Einträgen aufheben</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Delete the Files of %n Entries</source>
        <translation>
            <numerusform>Dateien von %n Eintrag löschen</numerusform>
            <numerusform>Dateien von %n Einträgen löschen</numerusform>
        </translation>
    </message>
    <message>
        <source>The project is no longer as this step left it, so the step cannot be taken back or done again. The history is cleared.</source>
        <translation>Das Projekt ist nicht mehr so, wie dieser Schritt es hinterlassen hat; der Schritt kann daher weder rückgängig gemacht noch wiederholt werden. Der Verlauf wurde geleert.</translation>
    </message>
    <message>
        <source>Not moved to the trash again, left where they are: %1</source>
        <translation>Nicht erneut in den Papierkorb verschoben, sie bleiben, wo sie sind: %1</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Not brought back from the trash, their entries are back all the same: %1</source>
        <translation>Nicht aus dem Papierkorb wiederhergestellt, ihre Einträge sind trotzdem zurück: %1</translation>
    </message>
</context>
<context>
    <name>EntriesModel</name>
    <message>
        <source>The project has no file to be saved to yet.</source>
        <translation>Das Projekt hat noch keine Datei, in die es gespeichert werden kann.</translation>
    </message>
    <message>
        <source>New Project</source>
        <translation>Neues Projekt</translation>
    </message>
</context>
<context>
    <name>EntryPaths</name>
    <message>
        <source>&quot;%1&quot; was not added: its name is not valid UTF-8. Rename it and add it again.</source>
        <translation>„%1“ wurde nicht hinzugefügt: Sein Name ist kein gültiges UTF-8. Benennen Sie es um und fügen Sie es erneut hinzu.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not added: it does not exist.</source>
        <translation>„%1“ wurde nicht hinzugefügt: Es existiert nicht.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not added: it is not a file or a folder.</source>
        <translation>„%1“ wurde nicht hinzugefügt: Es ist weder eine Datei noch ein Ordner.</translation>
    </message>
</context>
<context>
    <name>FiguresRow</name>
    <message>
        <source>&amp;File system:</source>
        <translation>&amp;Dateisystem:</translation>
    </message>
    <message>
        <source>&amp;Block size:</source>
        <translation>&amp;Blockgröße:</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Byte</translation>
    </message>
</context>
<context>
    <name>FileSystemChoice</name>
    <message>
        <source>ext4 mounted through FUSE cannot be planned: its driver places blocks differently from the kernel&apos;s; mount the volume with the kernel&apos;s ext4 driver</source>
        <translation>Über FUSE eingehängtes ext4 kann nicht geplant werden: Sein Treiber legt Blöcke anders ab als der des Kernels; hängen Sie den Datenträger mit dem ext4-Treiber des Kernels ein</translation>
    </message>
    <message>
        <source>ext2 and ext3 cannot be planned: they map files through indirect blocks, which Quillmarch does not count</source>
        <translation>ext2 und ext3 können nicht geplant werden: Sie bilden Dateien über indirekte Blöcke ab, die Quillmarch nicht mitzählt</translation>
    </message>
    <message>
        <source>Btrfs cannot be planned: compression, small files kept inside its metadata and the metadata&apos;s second copy make its free space unpredictable</source>
        <translation>Btrfs kann nicht geplant werden: Komprimierung, in den Metadaten abgelegte kleine Dateien und die zweite Kopie der Metadaten machen seinen freien Speicher unvorhersehbar</translation>
    </message>
    <message>
        <source>ZFS cannot be planned: compression, extra copies and space shared by the whole pool make its free space unpredictable</source>
        <translation>ZFS kann nicht geplant werden: Komprimierung, zusätzliche Kopien und der vom ganzen Pool geteilte Platz machen seinen freien Speicher unvorhersehbar</translation>
    </message>
    <message>
        <source>XFS cannot be planned: it allocates inodes and folder blocks as files arrive and reserves room ahead of writing, so what a copy takes is not known in advance</source>
        <translation>XFS kann nicht geplant werden: Es belegt Inodes und Ordnerblöcke, wenn Dateien ankommen, und reserviert vor dem Schreiben Platz, daher ist nicht vorher bekannt, was eine Kopie belegt</translation>
    </message>
    <message>
        <source>F2FS cannot be planned: it writes in logs that it cleans up in the background, so what a copy takes is not known in advance</source>
        <translation>F2FS kann nicht geplant werden: Es schreibt in Protokolle, die es im Hintergrund aufräumt, daher ist nicht vorher bekannt, was eine Kopie belegt</translation>
    </message>
    <message>
        <source>This folder is held in memory and emptied when the computer stops: it is no storage medium</source>
        <translation>Dieser Ordner liegt im Arbeitsspeicher und wird beim Herunterfahren geleert: Er ist kein Speichermedium</translation>
    </message>
    <message>
        <source>Network and FUSE file systems cannot be planned: the free space they report belongs to another system, laid out in a way Quillmarch cannot see</source>
        <translation>Netzwerk- und FUSE-Dateisysteme können nicht geplant werden: Der freie Speicher, den sie melden, gehört zu einem anderen System, dessen Aufbau Quillmarch nicht sehen kann</translation>
    </message>
    <message>
        <source>ext4 with bigalloc cannot be planned: it allocates clusters larger than the blocks it reports</source>
        <translation>ext4 mit bigalloc kann nicht geplant werden: Es belegt Cluster, die größer sind als die Blöcke, die es meldet</translation>
    </message>
    <message>
        <source>Unsupported file system</source>
        <translation>Nicht unterstütztes Dateisystem</translation>
    </message>
</context>
<context>
    <name>IsoImageBuilder</name>
    <message>
        <source>a file changed or could not be read while it was written (%1)</source>
        <translation>eine Datei wurde während des Schreibens geändert oder konnte nicht gelesen werden (%1)</translation>
    </message>
    <message>
        <source>libisofs cannot start</source>
        <translation>libisofs kann nicht starten</translation>
    </message>
    <message>
        <source>The files already on the disc cannot be read: %1</source>
        <translation>Die Dateien, die bereits auf der Disc sind, können nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; no longer exists</source>
        <translation>„%1“ existiert nicht mehr</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is neither a file nor a folder</source>
        <translation>„%1“ ist weder eine Datei noch ein Ordner</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is already on the disc</source>
        <translation>„%1“ ist bereits auf der Disc</translation>
    </message>
    <message>
        <source>Two entries are named &quot;%1&quot;</source>
        <translation>Zwei Einträge heißen „%1“</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be added: %2</source>
        <translation>„%1“ kann nicht hinzugefügt werden: %2</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; cannot be read</source>
        <translation>Der Ordner „%1“ kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be read</source>
        <translation>„%1“ kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>libisofs cannot lay out the image: %1</source>
        <translation>libisofs kann das Abbild nicht anordnen: %1</translation>
    </message>
</context>
<context>
    <name>IsoStreamMend</name>
    <message>
        <source>libisofs could not make the image</source>
        <translation>libisofs konnte das Abbild nicht erstellen</translation>
    </message>
    <message>
        <source>The image ended after %1 of %2 blocks</source>
        <translation>Das Abbild endete nach %1 von %2 Blöcken</translation>
    </message>
    <message>
        <source>The image has no ISO 9660 volume descriptor</source>
        <translation>Das Abbild hat keinen ISO-9660-Volume-Deskriptor</translation>
    </message>
    <message>
        <source>The image&apos;s folders do not add up at block %1</source>
        <translation>Die Ordner des Abbilds stimmen bei Block %1 nicht überein</translation>
    </message>
</context>
<context>
    <name>MainActions</name>
    <message>
        <source>Search Time &amp;Limit</source>
        <translation>Zeitli&amp;mit der Suche</translation>
    </message>
    <message>
        <source>&amp;New project</source>
        <translation>&amp;Neues Projekt</translation>
    </message>
    <message>
        <source>Start new project</source>
        <translation>Ein neues Projekt beginnen</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>&amp;Load project ...</source>
        <translation>Projekt &amp;laden …</translation>
    </message>
    <message>
        <source>Load existing project</source>
        <translation>Ein vorhandenes Projekt laden</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Laden</translation>
    </message>
    <message>
        <source>&amp;Save project</source>
        <translation>Projekt &amp;speichern</translation>
    </message>
    <message>
        <source>Save project</source>
        <translation>Projekt speichern</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save project &amp;As ...</source>
        <translation>Projekt speichern &amp;unter …</translation>
    </message>
    <message>
        <source>Save project with new name</source>
        <translation>Das Projekt unter einem neuen Namen speichern</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Pick a &amp;Target Storage ...</source>
        <translation>&amp;Zieldatenträger wählen …</translation>
    </message>
    <message>
        <source>Pick a Target Storage ...</source>
        <translation>Zieldatenträger wählen …</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>&amp;Dispense the files</source>
        <translation>Dateien zu&amp;teilen</translation>
    </message>
    <message>
        <source>Dispense the files for the target Drive</source>
        <translation>Die Dateien für den Zieldatenträger zuteilen</translation>
    </message>
    <message>
        <source>Dispense</source>
        <translation>Zuteilen</translation>
    </message>
    <message>
        <source>&amp;Undispense the files</source>
        <translation>Zuteilung &amp;aufheben</translation>
    </message>
    <message>
        <source>Put the files back from the Dispensed list</source>
        <translation>Die Dateien aus der Liste „Zugeteilt“ zurücklegen</translation>
    </message>
    <message>
        <source>Undispense</source>
        <translation>Zurücklegen</translation>
    </message>
    <message>
        <source>&amp;Post the Dispensed files into the Clipboard</source>
        <translation>Zugeteilte Dateien in die Zwischenablage le&amp;gen</translation>
    </message>
    <message>
        <source>Post the Dispensed files into the Clipboard</source>
        <translation>Die zugeteilten Dateien in die Zwischenablage legen</translation>
    </message>
    <message>
        <source>Post</source>
        <translation>Ablegen</translation>
    </message>
    <message>
        <source>D&amp;elete the files</source>
        <translation>Dateien &amp;löschen</translation>
    </message>
    <message>
        <source>Delete the files to the system Trash</source>
        <translation>Die Dateien in den Papierkorb verschieben</translation>
    </message>
    <message>
        <source>Add &amp;File(s) to the list</source>
        <translation>&amp;Datei(en) zur Liste hinzufügen</translation>
    </message>
    <message>
        <source>Add File(s) to the Main list</source>
        <translation>Datei(en) zur Liste „Haupt“ hinzufügen</translation>
    </message>
    <message>
        <source>Add File(s)</source>
        <translation>Dateien hinzufügen</translation>
    </message>
    <message>
        <source>Add F&amp;older to the list</source>
        <translation>&amp;Ordner zur Liste hinzufügen</translation>
    </message>
    <message>
        <source>Add Folder to the list</source>
        <translation>Einen Ordner zur Liste hinzufügen</translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation>Ordner hinzufügen</translation>
    </message>
    <message>
        <source>R&amp;emove item from the list</source>
        <translation>Eintrag aus der Liste ent&amp;fernen</translation>
    </message>
    <message>
        <source>Remove item from the list</source>
        <translation>Eintrag aus der Liste entfernen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>&amp;Select all in current Group</source>
        <translation>&amp;Alle in der aktuellen Gruppe auswählen</translation>
    </message>
    <message>
        <source>&amp;Invert Selection in the group</source>
        <translation>Auswahl in der Gruppe um&amp;kehren</translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>Move the item Up to the list above</source>
        <translation>Den Eintrag in die Liste darüber verschieben</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Move &amp;Down</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>Move the item Down to list below</source>
        <translation>Den Eintrag in die Liste darunter verschieben</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>&amp;Required</source>
        <translation>&amp;Erforderlich</translation>
    </message>
    <message>
        <source>Move the item into the Required list</source>
        <translation>Den Eintrag in die Liste „Erforderlich“ verschieben</translation>
    </message>
    <message>
        <source>&amp;Main</source>
        <translation>&amp;Haupt</translation>
    </message>
    <message>
        <source>Move the item into the Main list</source>
        <translation>Den Eintrag in die Liste „Haupt“ verschieben</translation>
    </message>
    <message>
        <source>&amp;Background</source>
        <translation>H&amp;intergrund</translation>
    </message>
    <message>
        <source>Move the item into the Background list</source>
        <translation>Den Eintrag in die Liste „Hintergrund“ verschieben</translation>
    </message>
    <message>
        <source>&amp;Not In Use</source>
        <translation>&amp;Nicht verwendet</translation>
    </message>
    <message>
        <source>Move the item into the Not In Use</source>
        <translation>Den Eintrag nach „Nicht verwendet“ verschieben</translation>
    </message>
    <message>
        <source>&amp;About ...</source>
        <translation>Ü&amp;ber Quillmarch …</translation>
    </message>
    <message>
        <source>Plan &amp;Series...</source>
        <translation>&amp;Serie planen …</translation>
    </message>
    <message>
        <source>Plan how the entries fill a whole series of media</source>
        <translation>Planen, wie die Einträge eine ganze Serie von Medien füllen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Actions</source>
        <translation>&amp;Aktionen</translation>
    </message>
    <message>
        <source>&amp;List</source>
        <translation>&amp;Liste</translation>
    </message>
    <message>
        <source>&amp;Priority</source>
        <translation>&amp;Priorität</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <extracomment>A tool tip and its shortcut: &quot;Save project (Ctrl+S)&quot;.</extracomment>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>&amp;Copy to Target...</source>
        <translation>Auf das Ziel &amp;kopieren …</translation>
    </message>
    <message>
        <source>Copy the Dispensed files onto the target and read them back</source>
        <translation>Die zugeteilten Dateien auf das Ziel kopieren und zurücklesen</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>&amp;Write Disc</source>
        <translation>Disc &amp;brennen</translation>
    </message>
    <message>
        <source>Write the Dispensed files onto the disc in the target recorder and read them back</source>
        <translation>Die zugeteilten Dateien auf die Disc im Zielbrenner schreiben und zurücklesen</translation>
    </message>
    <message>
        <source>Write &amp;Image...</source>
        <translation>Abb&amp;ild schreiben …</translation>
    </message>
    <message>
        <source>Write the Dispensed files into an ISO 9660 image file and read them back</source>
        <translation>Die zugeteilten Dateien in eine ISO-9660-Abbilddatei schreiben und zurücklesen</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederherstellen: %1</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
</context>
<context>
    <name>MainList</name>
    <message numerus="yes">
        <source>%n entries</source>
        <translation>
            <numerusform>%n Eintrag</numerusform>
            <numerusform>%n Einträge</numerusform>
        </translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Byte</translation>
    </message>
    <message>
        <source>%1: Dispense leaves it out</source>
        <translation>%1: „Zuteilen“ lässt ihn aus</translation>
    </message>
    <message>
        <source>not known yet: the folder is still being measured</source>
        <translation>noch nicht bekannt: Der Ordner wird noch vermessen</translation>
    </message>
    <message>
        <source>%1
Size: %2</source>
        <translation>%1
Größe: %2</translation>
    </message>
    <message>
        <source>Add files and folders, or drop them here</source>
        <translation>Fügen Sie Dateien und Ordner hinzu oder ziehen Sie sie hierher</translation>
    </message>
</context>
<context>
    <name>MainStatus</name>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Byte</translation>
    </message>
    <message>
        <source>Medium</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>Target: %1 (%2, blocks of %3), %4 free</source>
        <translation>Ziel: %1 (%2, Blöcke zu %3), %4 frei</translation>
    </message>
    <message>
        <source>a medium of known size</source>
        <translation>ein Medium bekannter Größe</translation>
    </message>
    <message>
        <source>The dispensed entries leave %1 of the target free</source>
        <translation>Die zugeteilten Einträge lassen %1 des Ziels frei</translation>
    </message>
    <message>
        <source>Pick a target with Target on the toolbar</source>
        <translation>Wählen Sie ein Ziel mit „Ziel“ in der Werkzeugleiste</translation>
    </message>
    <message>
        <source>Nothing is dispensed</source>
        <translation>Nichts ist zugeteilt</translation>
    </message>
    <message numerus="yes">
        <source>SELECTED: %1 (%n entries)</source>
        <translation>
            <numerusform>AUSGEWÄHLT: %1 (%n Eintrag)</numerusform>
            <numerusform>AUSGEWÄHLT: %1 (%n Einträge)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Required, Main and Background: %n entries, %1</source>
        <translation>
            <numerusform>Erforderlich, Haupt und Hintergrund: %n Eintrag, %1</numerusform>
            <numerusform>Erforderlich, Haupt und Hintergrund: %n Einträge, %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n entries selected, %1</source>
        <translation>
            <numerusform>%n Eintrag ausgewählt, %1</numerusform>
            <numerusform>%n Einträge ausgewählt, %1</numerusform>
        </translation>
    </message>
    <message>
        <source>They would fill %1% of the target</source>
        <translation>Sie würden %1 % des Ziels füllen</translation>
    </message>
    <message>
        <source>READY</source>
        <translation>BEREIT</translation>
    </message>
    <message>
        <source>WASTED: %1</source>
        <translation>UNGENUTZT: %1</translation>
    </message>
    <message>
        <source>WASTED: --</source>
        <translation>UNGENUTZT: --</translation>
    </message>
    <message>
        <source>TOTAL: %1</source>
        <translation>GESAMT: %1</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>&amp;No Limit</source>
        <translation>&amp;Kein Limit</translation>
    </message>
    <message numerus="yes">
        <source>%n Seconds</source>
        <translation>
            <numerusform>%n Sekunde</numerusform>
            <numerusform>%n Sekunden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Minutes</source>
        <translation>
            <numerusform>%n Minute</numerusform>
            <numerusform>%n Minuten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Hours</source>
        <translation>
            <numerusform>%n Stunde</numerusform>
            <numerusform>%n Stunden</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>&amp;Clear the list</source>
        <translation>Liste &amp;leeren</translation>
    </message>
    <message>
        <source>Add folder</source>
        <translation>Ordner hinzufügen</translation>
    </message>
    <message>
        <source>Add file(s)</source>
        <translation>Datei(en) hinzufügen</translation>
    </message>
    <message>
        <source>Save Project As</source>
        <translation>Projekt speichern unter</translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists. Replace it?</source>
        <translation>„%1“ ist bereits vorhanden. Möchten Sie die Datei ersetzen?</translation>
    </message>
    <message>
        <source>Load Project</source>
        <translation>Projekt laden</translation>
    </message>
    <message>
        <source>Export the Lists Into</source>
        <translation>Listen exportieren nach</translation>
    </message>
    <message>
        <source>Unsaved Changes</source>
        <translation>Ungespeicherte Änderungen</translation>
    </message>
    <message>
        <source>Save the changes to &quot;%1&quot; before closing it?</source>
        <translation>Möchten Sie die Änderungen an „%1“ vor dem Schließen speichern?</translation>
    </message>
    <message>
        <source>Changes that are not saved will be lost.</source>
        <translation>Nicht gespeicherte Änderungen gehen verloren.</translation>
    </message>
    <message>
        <source>Folder on the target</source>
        <translation>Ordner auf dem Ziel</translation>
    </message>
    <message>
        <source>Quillmarch projects (*.qmp)</source>
        <translation>Quillmarch-Projekte (*.qmp)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Copy to Target: the folder on the target to copy into</source>
        <translation>Auf das Ziel kopieren: der Ordner auf dem Ziel, in den kopiert wird</translation>
    </message>
    <message>
        <source>Disc images (*.iso)</source>
        <translation>Disc-Abbilder (*.iso)</translation>
    </message>
    <message>
        <source>Write Image</source>
        <translation>Abbild schreiben</translation>
    </message>
    <message>
        <source>Write Disc</source>
        <translation>Disc brennen</translation>
    </message>
    <message>
        <source>The disc in %1 already holds files. Write over them?</source>
        <translation>Die Disc in %1 enthält bereits Dateien. Möchten Sie sie überschreiben?</translation>
    </message>
    <message>
        <source>Everything on the disc will be lost.</source>
        <translation>Alles auf der Disc geht verloren.</translation>
    </message>
</context>
<context>
    <name>MessageBar</name>
    <message>
        <source>Close the message</source>
        <translation>Meldung schließen</translation>
    </message>
</context>
<context>
    <name>ProjectFile</name>
    <message>
        <source>&quot;%1&quot; is not a Quillmarch project.</source>
        <translation>„%1“ ist kein Quillmarch-Projekt.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a Quillmarch project: it holds a document type declaration.</source>
        <translation>„%1“ ist kein Quillmarch-Projekt: Es enthält eine Dokumenttyp-Deklaration.</translation>
    </message>
    <message>
        <source>The project file &quot;%1&quot; is damaged at line %2: %3.</source>
        <translation>Die Projektdatei „%1“ ist in Zeile %2 beschädigt: %3.</translation>
    </message>
    <message>
        <source>The project file &quot;%1&quot; cannot be read: %2.</source>
        <translation>Die Projektdatei „%1“ kann nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>The project file &quot;%1&quot; was not found.</source>
        <translation>Die Projektdatei „%1“ wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The project file &quot;%1&quot; cannot be opened: %2.</source>
        <translation>Die Projektdatei „%1“ kann nicht geöffnet werden: %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be opened: it is not a file.</source>
        <translation>„%1“ kann nicht geöffnet werden: Es ist keine Datei.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a Quillmarch project: it is empty.</source>
        <translation>„%1“ ist kein Quillmarch-Projekt: Es ist leer.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a Quillmarch project: it is too large.</source>
        <translation>„%1“ ist kein Quillmarch-Projekt: Es ist zu groß.</translation>
    </message>
    <message>
        <source>an element has attributes</source>
        <translation>ein Element hat Attribute</translation>
    </message>
    <message>
        <source>a tag is far too long</source>
        <translation>ein Tag ist viel zu lang</translation>
    </message>
    <message>
        <source>it holds a NUL byte</source>
        <translation>sie enthält ein NUL-Byte</translation>
    </message>
    <message>
        <source>The project file &quot;%1&quot; is damaged: its elements are nested too deeply at line %2.</source>
        <translation>Die Projektdatei „%1“ ist beschädigt: Ihre Elemente sind in Zeile %2 zu tief verschachtelt.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was in the project file more than once; it was loaded once.</source>
        <translation>„%1“ stand mehrfach in der Projektdatei; es wurde einmal geladen.</translation>
    </message>
    <message>
        <source>an entry has no path</source>
        <translation>ein Eintrag hat keinen Pfad</translation>
    </message>
    <message>
        <source>the path &quot;%1&quot; is not absolute</source>
        <translation>der Pfad „%1“ ist nicht absolut</translation>
    </message>
    <message>
        <source>the name or folder stored for &quot;%1&quot; is not its own</source>
        <translation>der für „%1“ gespeicherte Name oder Ordner ist nicht sein eigener</translation>
    </message>
    <message>
        <source>The project was not saved to &quot;%1&quot;: %2.</source>
        <translation>Das Projekt wurde nicht in „%1“ gespeichert: %2.</translation>
    </message>
    <message>
        <source>it is a link to a folder</source>
        <translation>es ist eine Verknüpfung zu einem Ordner</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>es ist ein Ordner</translation>
    </message>
    <message>
        <source>it is a link to a FIFO, not to a regular file</source>
        <translation>es ist eine Verknüpfung zu einem FIFO, nicht zu einer gewöhnlichen Datei</translation>
    </message>
    <message>
        <source>it is a FIFO, not a regular file</source>
        <translation>es ist ein FIFO, keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>it is a link to a device, not to a regular file</source>
        <translation>es ist eine Verknüpfung zu einem Gerät, nicht zu einer gewöhnlichen Datei</translation>
    </message>
    <message>
        <source>it is a device, not a regular file</source>
        <translation>es ist ein Gerät, keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>it is a link to something other than a regular file</source>
        <translation>es ist eine Verknüpfung zu etwas anderem als einer gewöhnlichen Datei</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>es ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>it is a link to a file that does not exist</source>
        <translation>es ist eine Verknüpfung zu einer Datei, die nicht existiert</translation>
    </message>
    <message>
        <source>it is a link into another file system</source>
        <translation>es ist eine Verknüpfung in ein anderes Dateisystem</translation>
    </message>
    <message>
        <source>The project was saved to &quot;%1&quot;, but it now belongs to %2 instead of %3.</source>
        <translation>Das Projekt wurde in „%1“ gespeichert, gehört jetzt aber %2 statt %3.</translation>
    </message>
    <message>
        <source>The project was not saved: the folder &quot;%1&quot; does not exist.</source>
        <translation>Das Projekt wurde nicht gespeichert: Der Ordner „%1“ existiert nicht.</translation>
    </message>
    <message>
        <source>the folder cannot be written to</source>
        <translation>in den Ordner kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the save was cancelled</source>
        <translation>das Speichern wurde abgebrochen</translation>
    </message>
    <message>
        <source>it was changed by another program meanwhile</source>
        <translation>es wurde zwischenzeitlich von einem anderen Programm geändert</translation>
    </message>
    <message>
        <source>The project was not saved: it could not be turned into XML.</source>
        <translation>Das Projekt wurde nicht gespeichert: Es konnte nicht in XML umgewandelt werden.</translation>
    </message>
    <message>
        <source>The project was not saved: the target path &quot;%1&quot; holds a character that a project file cannot store.</source>
        <translation>Das Projekt wurde nicht gespeichert: Der Zielpfad „%1“ enthält ein Zeichen, das eine Projektdatei nicht speichern kann.</translation>
    </message>
    <message>
        <source>The project was not saved: the name of &quot;%1&quot; holds a character that a project file cannot store.</source>
        <translation>Das Projekt wurde nicht gespeichert: Der Name von „%1“ enthält ein Zeichen, das eine Projektdatei nicht speichern kann.</translation>
    </message>
</context>
<context>
    <name>Recorder</name>
    <message>
        <source>No recorder is connected there</source>
        <translation>Dort ist kein Brenner angeschlossen</translation>
    </message>
    <message>
        <source>The drive is busy; try again when the other program is done</source>
        <translation>Das Laufwerk ist belegt; versuchen Sie es erneut, wenn das andere Programm fertig ist</translation>
    </message>
    <message>
        <source>No disc in the recorder</source>
        <translation>Keine Disc im Brenner</translation>
    </message>
    <message>
        <source>The disc in the recorder is closed</source>
        <translation>Die Disc im Brenner ist abgeschlossen</translation>
    </message>
    <message>
        <source>No writable disc in the recorder</source>
        <translation>Keine beschreibbare Disc im Brenner</translation>
    </message>
    <message>
        <source>The drive cannot be read</source>
        <translation>Das Laufwerk kann nicht gelesen werden</translation>
    </message>
</context>
<context>
    <name>SeriesDlg</name>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Byte</translation>
    </message>
    <message>
        <source>Measuring %1 of %2</source>
        <translation>%1 von %2 werden vermessen</translation>
    </message>
    <message numerus="yes">
        <source>Trying fewer media: %n media, %1 of %2 entries</source>
        <translation>
            <numerusform>Weniger Medien werden versucht: %n Medium, %1 von %2 Einträgen</numerusform>
            <numerusform>Weniger Medien werden versucht: %n Medien, %1 von %2 Einträgen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Planned %n media, %1 of %2 entries</source>
        <translation>
            <numerusform>%n Medium geplant, %1 von %2 Einträgen</numerusform>
            <numerusform>%n Medien geplant, %1 von %2 Einträgen</numerusform>
        </translation>
    </message>
    <message>
        <source>Planning…</source>
        <translation>Wird geplant …</translation>
    </message>
    <message>
        <source>Nothing to plan.</source>
        <translation>Nichts zu planen.</translation>
    </message>
    <message numerus="yes">
        <source>%n entries fit no medium.</source>
        <translation>
            <numerusform>%n Eintrag passt auf kein Medium.</numerusform>
            <numerusform>%n Einträge passen auf kein Medium.</numerusform>
        </translation>
    </message>
    <message>
        <source>The search of some media stopped at its time limit, so their fill may not be the best.</source>
        <translation>Die Suche einiger Medien endete an ihrem Zeitlimit; ihre Füllung ist daher vielleicht nicht die beste.</translation>
    </message>
    <message numerus="yes">
        <source>%n entries already dispensed are left out.</source>
        <translation>
            <numerusform>%n bereits zugeteilter Eintrag wird ausgelassen.</numerusform>
            <numerusform>%n bereits zugeteilte Einträge werden ausgelassen.</numerusform>
        </translation>
    </message>
    <message>
        <source>Cannot be placed: %1</source>
        <translation>Kann nicht untergebracht werden: %1</translation>
    </message>
    <message>
        <source>Already dispensed, left out: %1</source>
        <translation>Bereits zugeteilt, ausgelassen: %1</translation>
    </message>
    <message>
        <source>Select a medium to dispense it.</source>
        <translation>Wählen Sie ein Medium aus, um es zuzuteilen.</translation>
    </message>
    <message>
        <source>&amp;Entries that no medium can hold:</source>
        <translation>&amp;Einträge, die kein Medium aufnehmen kann:</translation>
    </message>
    <message>
        <source>&amp;Entries already dispensed, which the plan leaves out:</source>
        <translation>Bereits zugeteilte &amp;Einträge, die der Plan auslässt:</translation>
    </message>
    <message numerus="yes">
        <source>Lists of %n media written to %1</source>
        <translation>
            <numerusform>Liste von %n Medium nach %1 geschrieben</numerusform>
            <numerusform>Listen von %n Medien nach %1 geschrieben</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>(%n paths with a line break in the .nul lists only)</source>
        <translation>
            <numerusform>(%n Pfad mit Zeilenumbruch nur in den .nul-Listen)</numerusform>
            <numerusform>(%n Pfade mit Zeilenumbruch nur in den .nul-Listen)</numerusform>
        </translation>
    </message>
    <message>
        <source>Plan Series</source>
        <translation>Serie planen</translation>
    </message>
    <message>
        <source>%1 (%2, %3 free)</source>
        <translation>%1 (%2, %3 frei)</translation>
    </message>
    <message>
        <source>The picked target, in blocks of %1 bytes</source>
        <translation>Das gewählte Ziel, in Blöcken zu %1 Byte</translation>
    </message>
    <message>
        <source>Other...</source>
        <translation>Andere …</translation>
    </message>
    <message>
        <source>&amp;File system:</source>
        <translation>&amp;Dateisystem:</translation>
    </message>
    <message>
        <source>&amp;Block size:</source>
        <translation>&amp;Blockgröße:</translation>
    </message>
    <message>
        <source>C&amp;apacity:</source>
        <translation>&amp;Kapazität:</translation>
    </message>
    <message>
        <source>&amp;Medium:</source>
        <translation>&amp;Medium:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Medium</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>Entries</source>
        <translation>Einträge</translation>
    </message>
    <message>
        <source>Size used</source>
        <translation>Belegt</translation>
    </message>
    <message>
        <source>Wasted</source>
        <translation>Ungenutzt</translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation>&amp;Exportieren …</translation>
    </message>
    <message>
        <source>&amp;Dispense This Medium</source>
        <translation>Dieses Medium &amp;zuteilen</translation>
    </message>
    <message>
        <source>Enter the capacity of the medium.</source>
        <translation>Geben Sie die Kapazität des Mediums ein.</translation>
    </message>
    <message>
        <source>Planning cancelled. Choose the medium again to plan.</source>
        <translation>Planung abgebrochen. Wählen Sie das Medium erneut, um zu planen.</translation>
    </message>
    <message>
        <source>&amp;Entries of medium %1:</source>
        <translation>&amp;Einträge von Medium %1:</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Blank DVD±R (4.7 GB = %1)</source>
        <translation>Leere DVD±R (4,7 GB = %1)</translation>
    </message>
    <message>
        <source>Blank DVD±R DL (8.5 GB = %1)</source>
        <translation>Leere DVD±R DL (8,5 GB = %1)</translation>
    </message>
    <message>
        <source>Blank BD-R (25 GB = %1)</source>
        <translation>Leere BD-R (25 GB = %1)</translation>
    </message>
    <message>
        <source>Blank BD-R DL (50 GB = %1)</source>
        <translation>Leere BD-R DL (50 GB = %1)</translation>
    </message>
    <message numerus="yes">
        <source>%n media (at least %1): %2 of data onto media of %3 each.</source>
        <translation>
            <numerusform>%n Medium (mindestens %1): %2 an Daten auf Medien zu je %3.</numerusform>
            <numerusform>%n Medien (mindestens %1): %2 an Daten auf Medien zu je %3.</numerusform>
        </translation>
    </message>
    <message>
        <source>“Dispense This Medium” is off while entries are dispensed: put them back with Undispense, or delete them, first.</source>
        <translation>„Dieses Medium zuteilen“ ist nicht verfügbar, solange Einträge zugeteilt sind: Legen Sie sie zuerst mit „Zurücklegen“ zurück oder löschen Sie sie.</translation>
    </message>
    <message>
        <source>NTFS</source>
        <translation>NTFS</translation>
    </message>
    <message>
        <source>FAT32</source>
        <translation>FAT32</translation>
    </message>
    <message>
        <source>exFAT</source>
        <translation>exFAT</translation>
    </message>
    <message>
        <source>ext4</source>
        <translation>ext4</translation>
    </message>
    <message>
        <source>ISO 9660</source>
        <translation>ISO 9660</translation>
    </message>
    <message>
        <source>UDF (for a burner that writes UDF)</source>
        <translation>UDF (für ein Brennprogramm, das UDF schreibt)</translation>
    </message>
</context>
<context>
    <name>SeriesPlanner</name>
    <message>
        <source>could not be read in full</source>
        <translation>konnte nicht vollständig gelesen werden</translation>
    </message>
    <message>
        <source>no longer exists</source>
        <translation>existiert nicht mehr</translation>
    </message>
    <message>
        <source>ran out of memory while measuring</source>
        <translation>beim Vermessen ging der Arbeitsspeicher aus</translation>
    </message>
    <message>
        <source>larger than one medium</source>
        <translation>größer als ein Medium</translation>
    </message>
    <message>
        <source>holds a file of 4 GiB or more, which FAT32 cannot store</source>
        <translation>enthält eine Datei von 4 GiB oder mehr, die FAT32 nicht speichern kann</translation>
    </message>
    <message>
        <source>holds a folder of more than 65,536 entries, which FAT32 cannot store</source>
        <translation>enthält einen Ordner mit mehr als 65.536 Einträgen, den FAT32 nicht speichern kann</translation>
    </message>
    <message>
        <source>is not a file or folder that can be copied</source>
        <translation>ist keine kopierbare Datei und kein kopierbarer Ordner</translation>
    </message>
    <message>
        <source>cannot be placed</source>
        <translation>kann nicht untergebracht werden</translation>
    </message>
    <message>
        <source>The medium has no usable file system, block size or capacity</source>
        <translation>Das Medium hat kein verwendbares Dateisystem, keine verwendbare Blockgröße oder Kapazität</translation>
    </message>
    <message>
        <source>Planning the series ran out of memory</source>
        <translation>Beim Planen der Serie ging der Arbeitsspeicher aus</translation>
    </message>
    <message>
        <source>Cannot make the folder %1</source>
        <translation>Der Ordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>Cannot open the folder %1: %2</source>
        <translation>Der Ordner %1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>%1 is not a list written before (it is a link, a folder or another special file); nothing was written</source>
        <translation>%1 ist keine zuvor geschriebene Liste (es ist eine Verknüpfung, ein Ordner oder eine andere besondere Datei); es wurde nichts geschrieben</translation>
    </message>
    <message>
        <source>Cannot write into %1: %2</source>
        <translation>In %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>holds a name with a character exFAT cannot store (&quot; * / : &lt; &gt; ? \ | or a control character)</source>
        <translation>enthält einen Namen mit einem Zeichen, das exFAT nicht speichern kann (&quot; * / : &lt; &gt; ? \ | oder ein Steuerzeichen)</translation>
    </message>
    <message>
        <source>holds a folder of more than 256 MiB of names, which exFAT cannot store</source>
        <translation>enthält einen Ordner mit mehr als 256 MiB an Namen, den exFAT nicht speichern kann</translation>
    </message>
    <message>
        <source>holds a folder of more names than ext4 can index</source>
        <translation>enthält einen Ordner mit mehr Namen, als ext4 verzeichnen kann</translation>
    </message>
    <message>
        <source>holds more files and folders than the volume has free inodes (ext4 stores each in one of a fixed number)</source>
        <translation>enthält mehr Dateien und Ordner, als der Datenträger freie Inodes hat (ext4 legt jede in einem von fest vielen ab)</translation>
    </message>
</context>
<context>
    <name>SizeText</name>
    <message>
        <source>Dispensed</source>
        <translation>Zugeteilt</translation>
    </message>
    <message>
        <source>Required</source>
        <translation>Erforderlich</translation>
    </message>
    <message>
        <source>Main</source>
        <translation>Haupt</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Hintergrund</translation>
    </message>
    <message>
        <source>Not In Use</source>
        <translation>Nicht verwendet</translation>
    </message>
    <message>
        <source>Some items inside could not be read, so its size is not known</source>
        <translation>Einige Elemente darin konnten nicht gelesen werden, daher ist seine Größe unbekannt</translation>
    </message>
    <message>
        <source>It no longer exists</source>
        <translation>Er existiert nicht mehr</translation>
    </message>
    <message>
        <source>Measuring it ran out of memory</source>
        <translation>Beim Vermessen ging der Arbeitsspeicher aus</translation>
    </message>
</context>
<context>
    <name>Target</name>
    <message>
        <source>Its file system is not one that can be filled.</source>
        <translation>Sein Dateisystem kann nicht befüllt werden.</translation>
    </message>
    <message>
        <source>Its capacity of %1 blocks of %2 bytes is 8 EiB or more.</source>
        <translation>Seine Kapazität von %1 Blöcken zu %2 Byte beträgt 8 EiB oder mehr.</translation>
    </message>
    <message>
        <source>Its block size of %1 bytes is not the %2 bytes of %3.</source>
        <translation>Seine Blockgröße von %1 Byte entspricht nicht den %2 Byte von %3.</translation>
    </message>
    <message>
        <source>Its block size of %1 bytes is not a power of two from %2 to %3, as %4 has.</source>
        <translation>Seine Blockgröße von %1 Byte ist keine Zweierpotenz von %2 bis %3, wie %4 sie hat.</translation>
    </message>
</context>
<context>
    <name>TargetArrival</name>
    <message>
        <source>The project has no target.</source>
        <translation>Das Projekt hat kein Ziel.</translation>
    </message>
    <message>
        <source>%1 is not a folder.</source>
        <translation>%1 ist kein Ordner.</translation>
    </message>
    <message>
        <source>The target volume is not mounted at %1.</source>
        <translation>Der Zieldatenträger ist nicht unter %1 eingehängt.</translation>
    </message>
    <message>
        <source>%1 is not on the target volume.</source>
        <translation>%1 liegt nicht auf dem Zieldatenträger.</translation>
    </message>
    <message>
        <source>Another volume is mounted at %1, not the target volume.</source>
        <translation>Unter %1 ist ein anderer Datenträger eingehängt, nicht der Zieldatenträger.</translation>
    </message>
    <message>
        <source>%1 is on the system&apos;s own volume, not on the target volume; is the target mounted?</source>
        <translation>%1 liegt auf dem Systemdatenträger, nicht auf dem Zieldatenträger; ist das Ziel eingehängt?</translation>
    </message>
    <message>
        <source>The project does not record which volume its target is, so the volume mounted at %1 was taken for it.</source>
        <translation>Das Projekt verzeichnet nicht, welcher Datenträger sein Ziel ist, daher wurde der unter %1 eingehängte Datenträger dafür genommen.</translation>
    </message>
    <message>
        <source>the check was stopped</source>
        <translation>die Prüfung wurde angehalten</translation>
    </message>
    <message>
        <source>the same name on the target as %1</source>
        <translation>derselbe Name auf dem Ziel wie %1</translation>
    </message>
    <message>
        <source>not found on the target</source>
        <translation>nicht auf dem Ziel gefunden</translation>
    </message>
</context>
<context>
    <name>TargetDiscovery</name>
    <message>
        <source>The drive cannot be read</source>
        <translation>Das Laufwerk kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>The volume is mounted read-only</source>
        <translation>Der Datenträger ist schreibgeschützt eingehängt</translation>
    </message>
    <message>
        <source>The volume reports more free space than its size</source>
        <translation>Der Datenträger meldet mehr freien Speicher als seine Größe</translation>
    </message>
    <message>
        <source>The volume is not mounted</source>
        <translation>Der Datenträger ist nicht eingehängt</translation>
    </message>
    <message>
        <source>Another volume is mounted there; pick the target again</source>
        <translation>Dort ist ein anderer Datenträger eingehängt; wählen Sie das Ziel erneut</translation>
    </message>
</context>
</TS>
