<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>CapacityBar</name>
    <message numerus="yes">
        <source>%1: %n entries, %2</source>
        <translation>
            <numerusform>%1: %n entry, %2</numerusform>
            <numerusform>%1: %n entries, %2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CliCommands</name>
    <message numerus="yes">
        <source>Copied: %n files (%1 bytes), %2</source>
        <translation>
            <numerusform>Copied: %n file (%1 bytes), %2</numerusform>
            <numerusform>Copied: %n files (%1 bytes), %2</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n read back equal before</source>
        <translation>
            <numerusform>%n read back equal before</numerusform>
            <numerusform>%n read back equal before</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files were not copied or did not read back equal</source>
        <translation>
            <numerusform>%n file was not copied or did not read back equal</numerusform>
            <numerusform>%n files were not copied or did not read back equal</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Medium %1: %n entries, %2 bytes used, %3 bytes wasted (%4 blocks)</source>
        <translation>
            <numerusform>Medium %1: %n entry, %2 bytes used, %3 bytes wasted (%4 blocks)</numerusform>
            <numerusform>Medium %1: %n entries, %2 bytes used, %3 bytes wasted (%4 blocks)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Medium %1: %n entries, %2 bytes used, %3 bytes wasted (%4 blocks), not proven best (time limit reached)</source>
        <translation>
            <numerusform>Medium %1: %n entry, %2 bytes used, %3 bytes wasted (%4 blocks), not proven best (time limit reached)</numerusform>
            <numerusform>Medium %1: %n entries, %2 bytes used, %3 bytes wasted (%4 blocks), not proven best (time limit reached)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Not planned: %n entries</source>
        <translation>
            <numerusform>Not planned: %n entry</numerusform>
            <numerusform>Not planned: %n entries</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Read back equal: %n files</source>
        <translation>
            <numerusform>Read back equal: %n file</numerusform>
            <numerusform>Read back equal: %n files</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CopyDlg</name>
    <message numerus="yes">
        <source>%1 of %n files</source>
        <translation>
            <numerusform>%1 of %n file</numerusform>
            <numerusform>%1 of %n files</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DeleteDlg</name>
    <message numerus="yes">
        <source>All %n dispensed entries arrived on the target with the same content. Move their originals to the trash?</source>
        <translation>
            <numerusform>The dispensed entry arrived on the target with the same content. Move its original to the trash?</numerusform>
            <numerusform>All %n dispensed entries arrived on the target with the same content. Move their originals to the trash?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n of %1 dispensed entries arrived on the target with the same content. Move their originals to the trash? The others stay dispensed.</source>
        <translation>
            <numerusform>%n of %1 dispensed entries arrived on the target with the same content. Move its original to the trash? The others stay dispensed.</numerusform>
            <numerusform>%n of %1 dispensed entries arrived on the target with the same content. Move their originals to the trash? The others stay dispensed.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DiscWriter</name>
    <message numerus="yes">
        <source>%n file(s) read back differ from their source</source>
        <translation>
            <numerusform>%n file read back differs from its source</numerusform>
            <numerusform>%n files read back differ from their source</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Engine</name>
    <message numerus="yes">
        <source>Measuring %n folders...</source>
        <translation>
            <numerusform>Measuring %n folder...</numerusform>
            <numerusform>Measuring %n folders...</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 (and %n more not added)</source>
        <translation>
            <numerusform>%1 (and %n more not added)</numerusform>
            <numerusform>%1 (and %n more not added)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Removing %n entries...</source>
        <translation>
            <numerusform>Removing %n entry...</numerusform>
            <numerusform>Removing %n entries...</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Moving %n entries...</source>
        <translation>
            <numerusform>Moving %n entry...</numerusform>
            <numerusform>Moving %n entries...</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n could not be read in full</source>
        <translation>
            <numerusform>%n could not be read in full</numerusform>
            <numerusform>%n could not be read in full</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n no longer exist</source>
        <translation>
            <numerusform>%n no longer exists</numerusform>
            <numerusform>%n no longer exist</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n ran out of memory</source>
        <translation>
            <numerusform>%n ran out of memory</numerusform>
            <numerusform>%n ran out of memory</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Left out of the plan: %n entries (%1)</source>
        <translation>
            <numerusform>Left out of the plan: %n entry (%1)</numerusform>
            <numerusform>Left out of the plan: %n entries (%1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Required entries did not fit</source>
        <translation>
            <numerusform>%n Required entry did not fit</numerusform>
            <numerusform>%n Required entries did not fit</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Dispensing %n entries...</source>
        <translation>
            <numerusform>Dispensing %n entry...</numerusform>
            <numerusform>Dispensing %n entries...</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Putting back %n entries...</source>
        <translation>
            <numerusform>Putting back %n entry...</numerusform>
            <numerusform>Putting back %n entries...</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Moving %n items to the trash...</source>
        <translation>
            <numerusform>Moving %n item to the trash...</numerusform>
            <numerusform>Moving %n items to the trash...</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n entries left out: an entry before each has the same name on the target, so only one could be copied; rename one to dispense both: %1</source>
        <translation>
            <numerusform>%n entry left out: an entry before it has the same name on the target, so only one could be copied; rename one to dispense both: %1</numerusform>
            <numerusform>%n entries left out: an entry before each has the same name on the target, so only one could be copied; rename one to dispense both: %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n entries left out that the target cannot hold: %1</source>
        <translation>
            <numerusform>%n entry left out that the target cannot hold: %1</numerusform>
            <numerusform>%n entries left out that the target cannot hold: %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n dispensed entries were not posted: an entry before each has the same name on the target: %1</source>
        <translation>
            <numerusform>%n dispensed entry was not posted: an entry before it has the same name on the target: %1</numerusform>
            <numerusform>%n dispensed entries were not posted: an entry before each has the same name on the target: %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n entries kept: each has the same name on the target as another, so one copy cannot stand for both: %1</source>
        <translation>
            <numerusform>%n entry kept: it has the same name on the target as another, so one copy cannot stand for both: %1</numerusform>
            <numerusform>%n entries kept: each has the same name on the target as another, so one copy cannot stand for both: %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Add %n Entries</source>
        <translation>
            <numerusform>Add %n Entry</numerusform>
            <numerusform>Add %n Entries</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Remove %n Entries</source>
        <translation>
            <numerusform>Remove %n Entry</numerusform>
            <numerusform>Remove %n Entries</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Move %n Entries Up</source>
        <translation>
            <numerusform>Move %n Entry Up</numerusform>
            <numerusform>Move %n Entries Up</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Move %n Entries Down</source>
        <translation>
            <numerusform>Move %n Entry Down</numerusform>
            <numerusform>Move %n Entries Down</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Move %n Entries to %1</source>
        <translation>
            <numerusform>Move %n Entry to %1</numerusform>
            <numerusform>Move %n Entries to %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Dispense %n Entries</source>
        <translation>
            <numerusform>Dispense %n Entry</numerusform>
            <numerusform>Dispense %n Entries</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Undispense %n Entries</source>
        <translation>
            <numerusform>Undispense %n Entry</numerusform>
            <numerusform>Undispense %n Entries</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Delete the Files of %n Entries</source>
        <translation>
            <numerusform>Delete the Files of %n Entry</numerusform>
            <numerusform>Delete the Files of %n Entries</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The image was written and read back equal: %n file(s)</source>
        <translation>
            <numerusform>The image was written and read back equal: %n file</numerusform>
            <numerusform>The image was written and read back equal: %n files</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The disc was written and read back equal: %n file(s)</source>
        <translation>
            <numerusform>The disc was written and read back equal: %n file</numerusform>
            <numerusform>The disc was written and read back equal: %n files</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>and %n more</numerusform>
            <numerusform>and %n more</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Copied and verified %n files in %1</source>
        <translation>
            <numerusform>Copied and verified %n file in %1</numerusform>
            <numerusform>Copied and verified %n files in %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n files were not copied or did not read back equal</source>
        <translation>
            <numerusform>%n file was not copied or did not read back equal</numerusform>
            <numerusform>%n files were not copied or did not read back equal</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n dispensed entries were not copied: an entry before each has the same name on the target: %1</source>
        <translation>
            <numerusform>%n dispensed entry was not copied: an entry before it has the same name on the target: %1</numerusform>
            <numerusform>%n dispensed entries were not copied: an entry before each has the same name on the target: %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MainList</name>
    <message numerus="yes">
        <source>%n entries</source>
        <translation>
            <numerusform>%n entry</numerusform>
            <numerusform>%n entries</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MainStatus</name>
    <message numerus="yes">
        <source>SELECTED: %1 (%n entries)</source>
        <translation>
            <numerusform>SELECTED: %1 (%n entry)</numerusform>
            <numerusform>SELECTED: %1 (%n entries)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Required, Main and Background: %n entries, %1</source>
        <translation>
            <numerusform>Required, Main and Background: %n entry, %1</numerusform>
            <numerusform>Required, Main and Background: %n entries, %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n entries selected, %1</source>
        <translation>
            <numerusform>%n entry selected, %1</numerusform>
            <numerusform>%n entries selected, %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message numerus="yes">
        <source>%n Seconds</source>
        <translation>
            <numerusform>%n Second</numerusform>
            <numerusform>%n Seconds</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Minutes</source>
        <translation>
            <numerusform>%n Minute</numerusform>
            <numerusform>%n Minutes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Hours</source>
        <translation>
            <numerusform>%n Hour</numerusform>
            <numerusform>%n Hours</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SeriesDlg</name>
    <message numerus="yes">
        <source>Trying fewer media: %n media, %1 of %2 entries</source>
        <translation>
            <numerusform>Trying fewer media: %n medium, %1 of %2 entries</numerusform>
            <numerusform>Trying fewer media: %n media, %1 of %2 entries</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Planned %n media, %1 of %2 entries</source>
        <translation>
            <numerusform>Planned %n medium, %1 of %2 entries</numerusform>
            <numerusform>Planned %n media, %1 of %2 entries</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n entries fit no medium.</source>
        <translation>
            <numerusform>%n entry fits no medium.</numerusform>
            <numerusform>%n entries fit no medium.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n entries already dispensed are left out.</source>
        <translation>
            <numerusform>%n entry already dispensed is left out.</numerusform>
            <numerusform>%n entries already dispensed are left out.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Lists of %n media written to %1</source>
        <translation>
            <numerusform>Lists of %n medium written to %1</numerusform>
            <numerusform>Lists of %n media written to %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>(%n paths with a line break in the .nul lists only)</source>
        <translation>
            <numerusform>(%n path with a line break in the .nul lists only)</numerusform>
            <numerusform>(%n paths with a line break in the .nul lists only)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n media (at least %1): %2 of data onto media of %3 each.</source>
        <translation>
            <numerusform>%n medium (at least %1): %2 of data onto media of %3 each.</numerusform>
            <numerusform>%n media (at least %1): %2 of data onto media of %3 each.</numerusform>
        </translation>
    </message>
</context>
</TS>
