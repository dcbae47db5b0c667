; Vardel's Windows installer (NSIS 3, Unicode), made by scripts/windows.sh:
;   makensis -DVERSION=1.0.0 -DSTAGE=<folder> -DUNINSTALL_LIST=<files.nsh> -DICON=<vardel.ico>
;            -DOUTFILE=<setup.exe> installer.nsi
; STAGE is the application folder the zip holds too. The installer puts it, for the current
; user and without administrator rights, into %LOCALAPPDATA%\Programs\Vardel, where the
; folder stays writable and db.mdb stays beside the program. The starter db.mdb is written
; only when there is none: an upgrade keeps the user's names. UNINSTALL_LIST deletes the
; program's files one by one, every file but db.mdb, which stays with the user's names.
; /S installs and uninstalls silently.
; A 64-bit installer for the 64-bit program, so that it runs where the program runs.
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vardel"
!define PUBLISHER "Vardel team"
; The program's Persian name, as the Start menu shows it.
!define PERSIAN_NAME "وردل"
; What the uninstaller says of the db.mdb it leaves; the file's path follows it.
!define KEPT_MESSAGE "وردل برداشته شد. نام‌های شما در این فایل ماند و با نصب دوباره‌ی وردل دوباره به کار می‌آید:"

Name "Vardel (${PERSIAN_NAME})"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Vardel"
; An upgrade goes where the installed copy is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Vardel ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "Vardel"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "Vardel ${VERSION} setup"
VIAddVersionKey /LANG=0 "LegalCopyright" "MIT licence, the Vardel developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\vardel.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Farsi"

Section "Vardel"
    ; An installed copy is removed first by its own uninstaller, run in place and silently,
    ; so that no file of the old version stays behind; it keeps db.mdb as always.
    ${If} ${FileExists} "$INSTDIR\uninstall.exe"
        DetailPrint "نسخه‌ی پیشین برداشته می‌شود؛ db.mdb می‌ماند."
        ExecWait '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
        Delete "$INSTDIR\uninstall.exe"
    ${EndIf}

    SetOutPath "$INSTDIR"
    SetOverwrite on
    File /r /x db.mdb "${STAGE}/*"
    ; The starter names only where the user has no db.mdb yet.
    SetOverwrite off
    File "${STAGE}/db.mdb"
    SetOverwrite on

    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${PERSIAN_NAME}.lnk" "$INSTDIR\vardel.exe" "" \
        "$INSTDIR\vardel.exe" 0 SW_SHOWNORMAL "" "Vardel"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Vardel (${PERSIAN_NAME})"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vardel.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    !include "${UNINSTALL_LIST}"
    Delete "$INSTDIR\uninstall.exe"
    Delete "$SMPROGRAMS\${PERSIAN_NAME}.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ; Removed only when empty: never while it holds the user's db.mdb.
    RMDir "$INSTDIR"
    ${If} ${FileExists} "$INSTDIR\db.mdb"
        DetailPrint "نام‌های شما در این فایل ماند: $INSTDIR\db.mdb"
        MessageBox MB_OK|MB_ICONINFORMATION "${KEPT_MESSAGE}$\r$\n$INSTDIR\db.mdb" /SD IDOK
    ${EndIf}
SectionEnd
