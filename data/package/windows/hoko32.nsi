; The installer of hoko32 for 64-bit Windows: the portable folder's content, a Start-menu
; shortcut, the ".ｷﾛｸ" file association and an uninstaller listed under the installed
; programs, for one of two kinds of installation:
;   "自分だけ"          per user: %LOCALAPPDATA%\Programs\hoko32, the shortcut, the association
;                       and the uninstaller's entry under the current user (HKCU); needs no
;                       administrator rights, and is the only kind offered to a user without them;
;   "すべてのユーザー"  per machine: Program Files\hoko32, the common Start menu, HKLM; the
;                       default for an administrator.
; Silently (/S), /CURRENTUSER or /ALLUSERS chooses one; without either, the default above.
; The finish page offers to start the viewer. The uninstaller removes what its installation
; wrote and leaves every user's settings and record files alone.
;
; scripts/package-windows makes it from a staged folder (scripts/windows-stage):
;   makensis -INPUTCHARSET UTF8 -DVERSION=x.y.z -DSTAGE=<folder> -DSIDE_PICTURE=<bmp> -DOUTFILE=<setup.exe>
;            -DINSTALL_LIST=<file> -DUNINSTALL_LIST=<file> -DSIZE_KB=<n> hoko32.nsi
; INSTALL_LIST holds the SetOutPath and File lines of the folder's files, UNINSTALL_LIST
; the Delete and RMDir lines that undo them (folders deepest first).

Unicode true
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma

; MultiUser.nsh: the page of the two kinds, the /CURRENTUSER and /ALLUSERS switches, the
; shell folders ($SMPROGRAMS) and SHCTX (HKCU or HKLM) of the kind chosen. "highest" asks
; an administrator for elevation and starts a standard user as he is.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "hoko32"
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODEPAGE_TEXT_ALLUSERS "すべてのユーザー"
!define MULTIUSER_INSTALLMODEPAGE_TEXT_CURRENTUSER "自分だけ"
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh

!define PRODUCT "ＴＡＰＰＥＲの足跡３２"
!define PUBLISHER "The hoko32 developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\hoko32"
!define EXTENSION ".ｷﾛｸ"
!define PROGID "hoko32.RecordFile"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define SHCNE_ASSOCCHANGED 0x08000000

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "hoko32 ${VERSION}"

!define MUI_ICON "${STAGE}/hoko32.ico"
!define MUI_UNICON "${STAGE}/hoko32.ico"
!define MUI_ABORTWARNING
; Our own picture beside the first and last pages, drawn by the Linux build (hoko32-icon --installer).
!define MUI_WELCOMEFINISHPAGE_BITMAP "${SIDE_PICTURE}"

!define MUI_FINISHPAGE_RUN "$INSTDIR\hoko32.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "${PRODUCT} セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "© ${PUBLISHER}"

Function .onInit
  SetRegView 64
  !insertmacro MULTIUSER_INIT
FunctionEnd

; The uninstaller takes away the installation it belongs to: the per-user one when the
; current user's entry names its folder, else the one MultiUser.nsh chooses (per machine
; for an administrator).
Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    Call un.MultiUser.InstallMode.CurrentUser
  ${EndIf}
FunctionEnd

Section "install"
  !include "${INSTALL_LIST}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\hoko32.exe" "" "$INSTDIR\hoko32.ico" 0

  WriteRegStr SHCTX "Software\Classes\${EXTENSION}" "" "${PROGID}"
  WriteRegStr SHCTX "Software\Classes\${EXTENSION}\OpenWithProgids" "${PROGID}" ""
  WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "ＴＡＰＰＥＲの記録ファイル"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\hoko32.ico"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\hoko32.exe" "%1"'

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\hoko32.ico"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1

  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  !include "${UNINSTALL_LIST}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"

  ; The extension keeps what other programs wrote under it.
  ReadRegStr $0 SHCTX "Software\Classes\${EXTENSION}" ""
  ${If} $0 == "${PROGID}"
    DeleteRegValue SHCTX "Software\Classes\${EXTENSION}" ""
  ${EndIf}
  DeleteRegValue SHCTX "Software\Classes\${EXTENSION}\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty SHCTX "Software\Classes\${EXTENSION}\OpenWithProgids"
  DeleteRegKey /ifempty SHCTX "Software\Classes\${EXTENSION}"
  DeleteRegKey SHCTX "Software\Classes\${PROGID}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"

  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
SectionEnd
