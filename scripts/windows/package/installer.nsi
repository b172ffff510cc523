; The installer for Windows families, made by scripts/build-windows with makensis (Debian's nsis):
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0.17 -DSTAGE=<folder> -DOUTFILE=<setup.exe> installer.nsi
; STAGE holds program\ (the program folder's files, replaced by each install), data\ (what a new suite
; needs to start; a file that is there already is never written), files.nsh (the uninstaller's list of
; the program's files), program-size.nsh (their size) and warizan.ico.
;
; For the current user, without administrator rights. The folder asked for is the suite's: a folder that
; holds a suite already (its 共通データ.txt or 生徒用名簿.txt, at its top or in files\) gets the program folder
; warizan\ added and keeps everything it has. /S installs silently, /D=<folder> (the last argument) names
; the folder.

; A 64-bit installer for a 64-bit program: it runs where the program runs (and under Debian's 64-bit Wine).
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "${STAGE}\program-size.nsh"

!define PRODUCT "あまりのあるわり算"
!define PUBLISHER "Sorabune"
!define PROGRAM_FOLDER "warizan"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\warizan"
!define SHORTCUT "${PRODUCT}.lnk"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$DOCUMENTS\学習ソフト"
; An install over an earlier one goes to the same suite.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1041 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "FileDescription" "${PRODUCT} のインストーラー"
VIAddVersionKey /LANG=1041 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "${PUBLISHER}"

Var Common ; the suite's shared folder: the suite folder, or its files\ (a suite of the "files" layout)
Var Layout ; the first value of a new 設定.txt: 0 flat, 1 the "files" layout
Var SuiteFolder ; the uninstaller's: the folder above the program folder

!define MUI_ICON "${STAGE}\warizan.ico"
!define MUI_UNICON "${STAGE}\warizan.ico"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TITLE "${PRODUCT} ${VERSION} のセットアップ"
!define MUI_WELCOMEPAGE_TEXT "あまりのあるわり算を、このパソコンのいまのユーザーに入れます。管理者の権限はいりません。$\r$\n$\r$\n前の版が入っていても、名簿、記録、設定、解答記録、PDF はそのまま残ります。$\r$\n$\r$\n練習中のときは、プログラムを終わらせてから「次へ」をおしてください。"
!insertmacro MUI_PAGE_WELCOME

!define MUI_DIRECTORYPAGE_TEXT_TOP "学習ソフトを入れるフォルダーを選んでください。$\r$\n$\r$\nシリーズのほかのプログラムが入っているフォルダー（共通データ.txt や 生徒用名簿.txt のあるフォルダー）を選ぶと、そこに「${PROGRAM_FOLDER}」フォルダーを加えます。名簿や記録は、そのまま使われます。"
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "学習ソフトのフォルダー"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY

!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES

!define MUI_FINISHPAGE_TEXT "あまりのあるわり算を入れました。スタートメニューの「${PRODUCT}」から始められます。$\r$\n$\r$\nはじめて使うときは、最初の画面のメニュー「file」の「名前の変更」で、ご家族の名前と生まれた年を入れてください。"
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM_FOLDER}\warizan.exe"
!define MUI_FINISHPAGE_RUN_TEXT "あまりのあるわり算を始める"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\はじめにお読みください.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "「はじめにお読みください」を読む"
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "プログラムのファイルと、スタートメニューやデスクトップのショートカットを消します。$\r$\n名簿、記録、設定、解答記録、PDF などのデータは消さずに残します。"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "あまりのあるわり算を取りのぞきました"
!define MUI_FINISHPAGE_TEXT "プログラムを取りのぞきました。$\r$\n$\r$\n名簿、記録、設定、解答記録、PDF などのデータは、次のフォルダーに残してあります。いらないときは、フォルダーごと消してください。$\r$\n$\r$\n$SuiteFolder"
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "Japanese"

; A folder chosen inside the suite's program folder itself stands for its suite.
Function DirectoryLeave
    ${If} ${FileExists} "$INSTDIR\warizan.exe"
    ${AndIf} ${FileExists} "$INSTDIR\設定.txt"
        ${GetParent} "$INSTDIR" $INSTDIR
    ${EndIf}
FunctionEnd

; Where the suite keeps its shared files, from what the chosen folder holds.
Function FindSuiteLayout
    StrCpy $Common "$INSTDIR"
    StrCpy $Layout "0"
    ${IfNot} ${FileExists} "$INSTDIR\共通データ.txt"
    ${AndIfNot} ${FileExists} "$INSTDIR\生徒用名簿.txt"
        ${If} ${FileExists} "$INSTDIR\files\共通データ.txt"
        ${OrIf} ${FileExists} "$INSTDIR\files\生徒用名簿.txt"
            StrCpy $Common "$INSTDIR\files"
            StrCpy $Layout "1"
        ${EndIf}
    ${EndIf}
FunctionEnd

Section "プログラム" SecProgram
    SectionIn RO
    SetShellVarContext current
    Call FindSuiteLayout

    ; The program's own files, replaced by every install.
    SetOverwrite on
    SetOutPath "$INSTDIR\${PROGRAM_FOLDER}"
    File /r "${STAGE}\program\*"
    SetOutPath "$INSTDIR"
    File "${STAGE}\はじめにお読みください.txt"

    ; What the program needs to start, only where the suite has none: the roster, the common data, the
    ; settings, the level table and the sounds a family may have changed are never written over.
    SetOverwrite off
    SetOutPath "$Common"
    File "${STAGE}\data\共通データ.txt"
    File "${STAGE}\data\生徒用名簿.txt"
    SetOutPath "$INSTDIR\${PROGRAM_FOLDER}"
    File "${STAGE}\data\${PROGRAM_FOLDER}\タイム回数データ.txt"
    ${IfNot} ${FileExists} "$INSTDIR\${PROGRAM_FOLDER}\設定.txt"
        FileOpen $0 "$INSTDIR\${PROGRAM_FOLDER}\設定.txt" w
        FileWrite $0 "$Layout,0,0,0,0,0,0,0,0,0$\r$\n"
        FileClose $0
    ${EndIf}
    ${If} $Layout == "1"
        SetOutPath "$INSTDIR\files"
    ${Else}
        SetOutPath "$INSTDIR\音フォルダ"
    ${EndIf}
    File "${STAGE}\data\音フォルダ\*"
    SetOverwrite on

    ; Started from the program folder, as from the folder itself.
    SetOutPath "$INSTDIR\${PROGRAM_FOLDER}"
    CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\${PROGRAM_FOLDER}\warizan.exe" "" \
        "$INSTDIR\${PROGRAM_FOLDER}\warizan.exe" 0

    WriteUninstaller "$INSTDIR\${PROGRAM_FOLDER}\uninstall.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM_FOLDER}\warizan.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${PROGRAM_FOLDER}\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${PROGRAM_FOLDER}\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${PROGRAM_SIZE_KB}
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "デスクトップにショートカットを作る" SecDesktop
    SetShellVarContext current
    SetOutPath "$INSTDIR\${PROGRAM_FOLDER}"
    CreateShortcut "$DESKTOP\${SHORTCUT}" "$INSTDIR\${PROGRAM_FOLDER}\warizan.exe" "" \
        "$INSTDIR\${PROGRAM_FOLDER}\warizan.exe" 0
SectionEnd

Function un.onInit
    ${GetParent} "$INSTDIR" $SuiteFolder
FunctionEnd

; Only the program's own files go ($INSTDIR is the program folder here): every data file stays.
Section "Uninstall"
    SetShellVarContext current
    Delete "$SMPROGRAMS\${SHORTCUT}"
    Delete "$DESKTOP\${SHORTCUT}"
    !include "${STAGE}\files.nsh"
    Delete "$SuiteFolder\はじめにお読みください.txt"
    Delete "$INSTDIR\uninstall.exe"
    ; The program folder holds the drill's data: it goes only when nothing is left in it.
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DetailPrint "名簿、記録、設定、解答記録、PDF などのデータは残しました: $SuiteFolder"
SectionEnd
