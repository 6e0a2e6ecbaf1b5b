// The language table's ids that the code names (resources/lang.xml holds the
// texts, in forty languages each). One name per id: the code asks the
// localizer for ids::kCleanNowText, never for 900000. Ids that only the
// catalogue's rows or the menu tables carry stay beside those tables.
#pragma once

#include <cstdint>

namespace s::lang::ids {

// --- The product and its addresses ---------------------------------------------
inline constexpr std::int32_t kRegistryName = 300000;  // the product's name as the registry spells it
inline constexpr std::int32_t kProductName = 500000;   // "Oxle Purgo": title bars, boot entry, product id
inline constexpr std::int32_t kSoftwarePage = 500003;
inline constexpr std::int32_t kTellDevelopersPage = 500004;
inline constexpr std::int32_t kVersionService = 500006;  // the update check's address
inline constexpr std::int32_t kThumbnailPage = 500007;   // the skins' pictures
inline constexpr std::int32_t kVersionText = 500010;     // "1.25"
inline constexpr std::int32_t kUpdatedText = 500020;
inline constexpr std::int32_t kLicenseText = 500050;
inline constexpr std::int32_t kUsefulLinkText = 500089;
inline constexpr std::int32_t kUsefulPage = 500100;
inline constexpr std::int32_t kHomeAddressText = 101000;
inline constexpr std::int32_t kMoreSoftwarePage = 108000;
inline constexpr std::int32_t kWorkplacePage = 108200;
inline constexpr std::int32_t kTranslatePage = 108500;

// --- The version window and the update check -------------------------------------
inline constexpr std::int32_t kVersionLabel = 400010;
inline constexpr std::int32_t kUpdatedLabel = 400020;
inline constexpr std::int32_t kLicenseLabel = 400050;
inline constexpr std::int32_t kHomeAddressLabel = 400080;
inline constexpr std::int32_t kAboutTitle = 400100;
inline constexpr std::int32_t kCloseText = 400120;
// The title-bar buttons' tooltips (the close button's is kCloseText).
inline constexpr std::int32_t kMinimiseText = 2100301000;
inline constexpr std::int32_t kMaximiseText = 2100302000;
inline constexpr std::int32_t kRestoreText = 2100303000;
// What a screen reader says the painted title-bar buttons and menus do.
inline constexpr std::int32_t kPressAction = 2100304000;
inline constexpr std::int32_t kOpenAction = 2100305000;
inline constexpr std::int32_t kUpdateNotice = 400200;
inline constexpr std::int32_t kImprovedVersion = 400210;
inline constexpr std::int32_t kCheckItOut = 400230;

// --- The question box ------------------------------------------------------------------
inline constexpr std::int32_t kAskerTitle = 400300;
inline constexpr std::int32_t kAskerMessage = 400320;
inline constexpr std::int32_t kYesText = 400330;
inline constexpr std::int32_t kNoText = 400340;
inline constexpr std::int32_t kDontAskText = 400380;

// --- The main window ------------------------------------------------------------------
inline constexpr std::int32_t kLanguageMenu = 700000;
inline constexpr std::int32_t kViewMenu = 609000;
inline constexpr std::int32_t kAboutMenu = 701000;
inline constexpr std::int32_t kTransparencyMenu = 715000;
inline constexpr std::int32_t kCellHeightMenu = 6001000;
inline constexpr std::int32_t kCellHeightDefaultZero = 6001001;      // "0  (Default)"
inline constexpr std::int32_t kCellHeightDefaultMinusOne = 6001002;  // "-1  (Default)"
inline constexpr std::int32_t kFontSizeMenu = 6002000;
inline constexpr std::int32_t kSkinMenu = 8000000;
inline constexpr std::int32_t kCollectingText = 800000;
inline constexpr std::int32_t kCleaningText = 800200;
inline constexpr std::int32_t kCancelCaption = 800300;  // the clean button while a clean runs
inline constexpr std::int32_t kCancelingText = 800400;
inline constexpr std::int32_t kTotalsOpen = 801000;   // "  ("
inline constexpr std::int32_t kTotalsClose = 801100;  // "  Items)"
inline constexpr std::int32_t kRemoveQuestion = 860111;
inline constexpr std::int32_t kCleanNowText = 900000;
inline constexpr std::int32_t kBootRunText = 901000;
inline constexpr std::int32_t kShowRelatedText = 902000;
inline constexpr std::int32_t kDeletedLine = 903000;
inline constexpr std::int32_t kPendingLine = 904000;
inline constexpr std::int32_t kSizeColumn = 1001001;   // "Size"
inline constexpr std::int32_t kFoundColumn = 1001002;  // "Found"
inline constexpr std::int32_t kRunningNoteText = 2100001000;
inline constexpr std::int32_t kSkippedLineText = 2100002000;
inline constexpr std::int32_t kCheckAnywayText = 2100202000;      // after a rule group's warning
inline constexpr std::int32_t kDamagedSettingsText = 2100101000;  // where a damaged settings file was kept

// --- The items window -------------------------------------------------------------------
inline constexpr std::int32_t kShowItemsText = 2100401000;       // the list's context menu
inline constexpr std::int32_t kItemsWindowText = 2100402000;     // the window's caption, before the row's title
inline constexpr std::int32_t kItemsPathColumn = 2100403000;     // "Path"
inline constexpr std::int32_t kItemsFilterLabel = 2100404000;    // "Filter:"
inline constexpr std::int32_t kKeepUncheckedText = 2100405000;   // the button
inline constexpr std::int32_t kKeepListMenuText = 2100406000;    // View menu, "Keep List..."
inline constexpr std::int32_t kKeepListWindowText = 2100407000;  // the keep list window's caption
inline constexpr std::int32_t kKeepTypeColumn = 2100408000;
inline constexpr std::int32_t kKeepWhatColumn = 2100409000;
inline constexpr std::int32_t kKeepAddedColumn = 2100410000;
inline constexpr std::int32_t kKeepAddFileText = 2100411000;
inline constexpr std::int32_t kKeepAddFolderText = 2100412000;
inline constexpr std::int32_t kKeepAddPatternText = 2100413000;
inline constexpr std::int32_t kKeepAddRegistryText = 2100414000;
inline constexpr std::int32_t kKeepPatternLabel = 2100415000;
// The entry types' names, in KeepEntryType order (file, folder, pattern,
// key, value): 2100416000 + 1000 * type.
inline constexpr std::int32_t kKeepFirstTypeText = 2100416000;
inline constexpr std::int32_t kItemsModifiedColumn = 2100421000;
inline constexpr std::int32_t kKeepDefaultValueText = 2100422000;  // "Add Registry...": the check box
inline constexpr std::int32_t kKeepDefaultValueName = 2100423000;  // "(Default)", a kept default value's name

// --- Custom targets and their editor ------------------------------------------------------
inline constexpr std::int32_t kDefaultValueText = 2005001;          // "(Default)", a key's unnamed value
inline constexpr std::int32_t kAddCustomText = 3000001;             // "Add Custom Target"
inline constexpr std::int32_t kModifyCustomText = 3000010;          // "Modify Custom Target"
inline constexpr std::int32_t kNewCustomTitleText = 3000100;        // "Custom Target"
inline constexpr std::int32_t kNewCustomDescriptionText = 3000101;  // "Erase Custom Target"
inline constexpr std::int32_t kEditorTitleLabel = 3001000;
inline constexpr std::int32_t kEditorDescriptionLabel = 3001001;
inline constexpr std::int32_t kEditorItemsLabel = 3002000;
inline constexpr std::int32_t kEditorRemoveText = 3002103;
inline constexpr std::int32_t kEditorBoxCaption = 3003000;  // "Clean Up Target"
inline constexpr std::int32_t kEditorTypeLabel = 3004000;
inline constexpr std::int32_t kEditorFileLabel = 3004010;
inline constexpr std::int32_t kEditorFolderLabel = 3004011;
inline constexpr std::int32_t kEditorExtensionLabel = 3004012;  // "Extension:   *."
inline constexpr std::int32_t kEditorExtensionHint = 3004013;   // "e.g. jpg"
inline constexpr std::int32_t kEditorSubFoldersText = 3004014;
inline constexpr std::int32_t kEditorKeyLabel = 3004015;
inline constexpr std::int32_t kEditorValueLabel = 3004016;
inline constexpr std::int32_t kEditorWarningText = 3004017;
inline constexpr std::int32_t kEditorBrowseText = 3004020;
inline constexpr std::int32_t kEditorTestFindText = 3004030;
inline constexpr std::int32_t kEditorApplyText = 3004031;
inline constexpr std::int32_t kEditorAddText = 3004032;
inline constexpr std::int32_t kEditorOkText = 3004040;
inline constexpr std::int32_t kEditorCancelText = 3004041;
inline constexpr std::int32_t kAllFilesFilter = 3006020;

}  // namespace s::lang::ids
