; The Vitrelle installer: puts Vitrelle.scr into the 64-bit system folder, lists it among the installed
; programs with an uninstaller, offers to make it the user's screen saver and opens the Screen Saver
; Settings at the end. Built by `make package`; "/S" installs (and uninstalls) silently.
;
;   makensis -DVERSION=<version> -DSCR=<Vitrelle.scr> -DICON=<Vitrelle.ico> -DOUTFILE=<setup.exe> Vitrelle.nsi

Unicode true
; A 64-bit installer: it sees the real system folder and registry, and 32-bit programs may not run at all.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh
!include x64.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vitrelle"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATE_AND_SEND 3

Name "Vitrelle"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Vitrelle"
BrandingText "Vitrelle ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Vitrelle"
VIAddVersionKey "CompanyName" "Vitrelle"
VIAddVersionKey "FileDescription" "Vitrelle screen saver setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 Vitrelle"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Open the Screen Saver Settings"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Function .onInit
    SetRegView 64
    ${DisableX64FSRedirection}
FunctionEnd

Function OpenScreenSaverSettings
    Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

Section "Vitrelle screen saver" SecProgram
    SectionIn RO
    SetOutPath "$SYSDIR"
    File "/oname=Vitrelle.scr" "${SCR}"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vitrelle"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vitrelle"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\Vitrelle.scr,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ; The size in KB of what was installed: the program and the uninstaller's folder.
    ${GetSize} "$SYSDIR" "/M=Vitrelle.scr /S=0K /G=0" $0 $1 $2
    ${GetSize} "$INSTDIR" "/S=0K" $3 $1 $2
    IntOp $0 $0 + $3
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Make Vitrelle my screen saver" SecMakeCurrent
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\Vitrelle.scr"
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
    ; Tells the running system too, not only the next sign-in.
    System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATE_AND_SEND})'
SectionEnd

Section "un.Vitrelle screen saver"
    SectionIn RO
    ; The desktop setting may hold the long or the short form of the program's path.
    GetFullPathName /SHORT $1 "$SYSDIR\Vitrelle.scr"
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${If} $0 == "$SYSDIR\Vitrelle.scr"
    ${OrIf} $0 == $1
        DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${EndIf}
    Delete "$SYSDIR\Vitrelle.scr"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd

; Off unless the user ticks it: the settings survive an uninstall and a later install finds them.
Section /o "un.Remove my settings" SecRemoveSettings
    Delete "$SYSDIR\Vitrelle.ini"
    Delete "$APPDATA\Vitrelle\Vitrelle.ini"
    RMDir "$APPDATA\Vitrelle"
SectionEnd

Function un.onInit
    SetRegView 64
    ${DisableX64FSRedirection}
    ; "/REMOVESETTINGS" asks a silent uninstall to remove the settings as well.
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVESETTINGS" $1
    ${IfNot} ${Errors}
        SectionSetFlags ${SecRemoveSettings} ${SF_SELECTED}
    ${EndIf}
FunctionEnd
