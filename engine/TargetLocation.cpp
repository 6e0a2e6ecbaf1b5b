#include "engine/TargetLocation.h"

#include "platform/PathWin.h"
#include "platform/RegDir.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"

namespace s::file::gui::dialogs::purgo {

namespace {

using s::file::win::PathWin;
using s::reg::win::RegDir;
namespace p = s::platform;

bool hasWildcard(std::u16string_view text)
{
    return text.find_first_of(u"*?") != std::u16string_view::npos;
}

bool isKeyKind(int32_t kind)
{
    return kind >= Type_RegKey_1_Level && kind <= Type_RegKey_OnlyAllSubKeys;
}

bool isFolderKind(int32_t kind)
{
    return kind >= Type_Folder_1_Level && kind <= Type_Folder_OnlyAllSubFolders;
}

bool keyExists(std::u16string_view keyPath)
{
    // A fresh key object holds an open key exactly when the key exists and
    // may be changed; opening it again would tell nothing new.
    return RegDir::make(keyPath)->isOpen();
}

bool isExistingFolder(std::u16string_view path)
{
    auto folder = PathWin::make(path);
    return folder->isValidLocation() && folder->isDirectory() && folder->exists();
}

// What the shell is given for a folder: a drive's root keeps its backslash,
// since "C:" alone names the current directory of drive C.
Text folderForShell(std::u16string_view fullPath)
{
    Text out(fullPath);
    if (out.length() == 2 && out[1] == u':')
        out += u'\\';
    return out;
}

// Opens a folder in the file manager, or, for a file, the folder that holds
// it. Only valid, existing paths are shown.
void openFolderOf(std::u16string_view text)
{
    auto path = PathWin::make(text);
    if (!path->isValidLocation() || !path->exists())
        return;
    std::u16string_view folder = path->fullPath().view();
    if (path->isFile())
        folder = beforeLastBackslash(folder);
    if (!folder.empty())
        p::shell().openFolder(folderForShell(folder).view());
}

void showKey(std::u16string_view keyPath, p::SelectValue select, std::u16string_view valueName,
             const LookUpTexts& texts)
{
    // The editor is given the canonical form: the root key's full name in
    // place of however the target spelt it.
    auto key = RegDir::make(keyPath);
    if (!p::shell().showInRegistryEditor(key->windowsPath().view(), select, valueName))
        p::shell().showMessage(texts.caption.view(), texts.regeditFailed.view());
}

}  // namespace

std::u16string_view beforeLastBackslash(std::u16string_view target)
{
    const std::size_t separator = target.rfind(u'\\');
    return separator == std::u16string_view::npos ? std::u16string_view() : target.substr(0, separator);
}

void splitValueTarget(std::u16string_view target, Text& keyPath, Text& valueName)
{
    const std::size_t separator = target.rfind(u'\\');
    if (separator == std::u16string_view::npos) {
        keyPath.assign(target);
        valueName.clear();
        return;
    }
    // Copied through a temporary: `target` may be one of the two outputs.
    const Text key(target.substr(0, separator));
    valueName.assign(target.substr(separator + 1));
    keyPath = key;
}

bool locationExists(const TimeRecord& node)
{
    if (!node.isTarget)
        return false;
    const std::u16string_view target = node.target.view();
    if (isKeyKind(node.kind))
        return keyExists(target);
    if (isFolderKind(node.kind))
        return isExistingFolder(target);
    switch (node.kind) {
    case Type_RegValue:
    case Type_RegValue_Wild: {
        if (target.find(u'\\') == std::u16string_view::npos)
            return false;
        const std::u16string_view keyPath = beforeLastBackslash(target);
        if (keyPath.empty() || (node.kind == Type_RegValue_Wild && hasWildcard(keyPath)))
            return false;
        return keyExists(keyPath);
    }
    case Type_File: {
        auto file = PathWin::make(target);
        return file->isValidLocation() && file->isFile() && file->exists();
    }
    case Type_File_Wild: {
        const std::u16string_view folder = beforeLastBackslash(target);
        return !folder.empty() && !hasWildcard(folder) && isExistingFolder(folder);
    }
    case Type_File_Func:
        return node.existsHandler && node.existsHandler(node.target);
    default:
        return false;
    }
}

void lookUp(const TimeRecord& node, const LookUpTexts& texts)
{
    if (!node.isTarget)
        return;
    const std::u16string_view target = node.target.view();
    if (isKeyKind(node.kind)) {
        showKey(target, p::SelectValue::No, {}, texts);
        return;
    }
    if (isFolderKind(node.kind)) {
        openFolderOf(target);
        return;
    }
    switch (node.kind) {
    case Type_RegValue: {
        Text keyPath;
        Text valueName;
        splitValueTarget(target, keyPath, valueName);
        if (!keyPath.isEmpty())
            showKey(keyPath.view(), p::SelectValue::Yes, valueName.view(), texts);
        break;
    }
    case Type_RegValue_Wild: {
        const std::u16string_view keyPath = beforeLastBackslash(target);
        if (!keyPath.empty())
            showKey(keyPath, p::SelectValue::No, {}, texts);
        break;
    }
    case Type_File: {
        auto file = PathWin::make(target);
        if (!file->isValidLocation() || !file->exists())
            break;
        // Explorer's own switches: a new window (/n) with the file selected.
        Text program(p::systemFacts().windowsFolder);
        program += u"\\explorer.exe";
        Text arguments(u"/n, /select, \"");
        arguments += file->fullPath().view();
        arguments += u'"';
        p::shell().startProgram(program.view(), arguments.view());
        break;
    }
    case Type_File_Wild:
        openFolderOf(beforeLastBackslash(target));
        break;
    case Type_File_Func:
        if (node.lookUpHandler)
            node.lookUpHandler(node.target);
        break;
    default:
        break;
    }
}

}  // namespace s::file::gui::dialogs::purgo
