; The Windows installer of Vortexa: puts Vortexa.scr in the system folder, where Windows looks for
; screen savers, optionally makes it the current screen saver, and registers an uninstaller in the
; system's list of programs. "/S" installs silently with the defaults; "/NOTCURRENT" leaves the
; current screen saver as it is. The uninstaller asks whether to remove the user's settings too and
; keeps them unless told to; run silently, it removes them only with "/REMOVESETTINGS". The build
; passes VERSION, SCR, README and OUTFILE.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vortexa"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SAVER "$SYSDIR\Vortexa.scr"
; Where the saver keeps its settings: beside itself, or in the user's folder when it cannot write
; there.
!define SETTINGS_BESIDE "$SYSDIR\Vortexa.ini"
!define SETTINGS_FOLDER "$APPDATA\Vortexa"

Name "Vortexa"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Vortexa"
RequestExecutionLevel admin
ShowInstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Vortexa"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Vortexa screen saver installer"
VIAddVersionKey /LANG=1033 "CompanyName" "Vortexa"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright 2026 The Vortexa developers"

; The components' names are short; the box under them says what each does.
!define MUI_COMPONENTSPAGE_SMALLDESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Screen saver" SectionSaver
    SectionIn RO
    SetOutPath "$SYSDIR"
    File "/oname=Vortexa.scr" "${SCR}"
    SetOutPath "$INSTDIR"
    File "/oname=README.txt" "${README}"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vortexa screen saver"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vortexa"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "${SAVER},0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    ${GetSize} "$SYSDIR" "/M=Vortexa.scr /S=0K /G=0" $1 $2 $3
    IntOp $0 $0 + $1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Windows names the current screen saver by the short path of its file.
Section "Make it current" SectionCurrent
    GetFullPathName /SHORT $0 "${SAVER}"
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$0"
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
    ; SPI_SETSCREENSAVEACTIVE, written to the profile and announced to the running programs.
    System::Call "user32::SystemParametersInfoW(i 17, i 1, p 0, i 3)"
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionSaver} "Vortexa.scr in the system folder, where Windows finds screen savers, and this uninstaller."
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionCurrent} "Makes Vortexa the screen saver Windows starts when the computer is idle."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/NOTCURRENT" $1
    ${IfNot} ${Errors}
        !insertmacro UnselectSection ${SectionCurrent}
    ${EndIf}
FunctionEnd

Var RemoveSettings

Function un.onInit
    StrCpy $RemoveSettings 0
    ${un.GetParameters} $0
    ClearErrors
    ${un.GetOptions} $0 "/REMOVESETTINGS" $1
    ${IfNot} ${Errors}
        StrCpy $RemoveSettings 1
    ${EndIf}
FunctionEnd

; The settings are the user's: they stay unless the user says otherwise.
Function un.AskAboutSettings
    ${If} $RemoveSettings == 1
        Return
    ${EndIf}
    ${IfNot} ${FileExists} "${SETTINGS_BESIDE}"
    ${AndIfNot} ${FileExists} "${SETTINGS_FOLDER}\Vortexa.ini"
        Return
    ${EndIf}
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Remove your Vortexa settings too?$\r$\n$\r$\nChoose No to keep them for a later installation." /SD IDNO IDNO keep
    StrCpy $RemoveSettings 1
    keep:
FunctionEnd

; The screen-saver setting is removed only while it still names this saver: the user may have
; chosen another since.
Section "Uninstall"
    Call un.AskAboutSettings
    ${If} $RemoveSettings == 1
        Delete "${SETTINGS_BESIDE}"
        Delete "${SETTINGS_FOLDER}\Vortexa.ini"
        RMDir "${SETTINGS_FOLDER}"
    ${EndIf}

    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    GetFullPathName /SHORT $1 "${SAVER}"
    ${If} $0 != ""
        ${If} $0 == $1
        ${OrIf} $0 == "${SAVER}"
            DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
        ${EndIf}
    ${EndIf}

    Delete "${SAVER}"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
