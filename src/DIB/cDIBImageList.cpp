#include "DIB/cDIBImageList.h"

#include <algorithm>

#include "ui/model/ClassRegistry.h"
#include "ui/model/PropertyFiler.h"
#include "ui/model/TypeBuilder.h"
#include "ui/model/ValueReader.h"
#include "ui/model/ValueWriter.h"

namespace {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

bool IsPathSeparator(char c) {
  return c == '/' || c == '\\';
}

}  // namespace

// --- TDIBImagesItemDIB -----------------------------------------------------------------------

TDIBImagesItemDIB::TDIBImagesItemDIB() {
  SetSize(1, 1);
}

void TDIBImagesItemDIB::AllocateImage() {
  if (uint64_t{Width()} * Height() > kMaxItemPixels) {
    throw EDIBError("An image list image cannot be " + std::to_string(Width()) + " x " +
                    std::to_string(Height()) + " pixels");
  }
  TMemoryDIB::AllocateImage();
}

// --- TDIBImagesItem --------------------------------------------------------------------------

TDIBImagesItem::TDIBImagesItem(ui::Collection& collection)
    : ui::CollectionItem(collection), m_DIB(std::make_unique<TDIBImagesItemDIB>()) {
  m_DIB->SetOnChange(ui::Bind<&TDIBImagesItem::DIBChanged>(this));
  m_DisplayName = ui::CollectionItem::DisplayName();
}

TDIBImagesItem::~TDIBImagesItem() {
  const int index = Index();
  TCustomDIBImageList* list = List();
  if (list != nullptr) list->ImageDestroying(*m_DIB);
  m_DIB.reset();
  LeaveCollection();
  if (list != nullptr) list->NotifyLinks(index, ickDeleted);
}

const ui::TypeInfo& TDIBImagesItem::StaticType() {
  using T = TDIBImagesItem;
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("TDIBImagesItem", ui::CollectionItem::StaticType())
          .Enumeration("ImageRetrieval", &T::ImageRetrieval, &T::SetImageRetrieval,
                       {"irInternal", "irLoadOnStart", "irLoadOnDemand"})
          .Default(irInternal)
          .Object("DIB", &T::StoredDIB)
          .String("DisplayName", &T::DisplayName, &T::SetDisplayName)
          .Event("OnTranslateImagePath")
          .Build();
  return type;
}

TCustomDIBImageList* TDIBImagesItem::List() const {
  const auto* images = dynamic_cast<const TDIBImages*>(ParentCollection());
  return images != nullptr ? images->List() : nullptr;
}

TMemoryDIB& TDIBImagesItem::DIB() {
  LoadExternalFiles();
  return *m_DIB;
}

void TDIBImagesItem::SetDIB(const TAbstractSuperDIB& image) {
  m_DIB->Assign(image);
}

void TDIBImagesItem::SetImageRetrieval(TDIBImageRetrieval retrieval) {
  m_ImageRetrieval = retrieval;
  m_DIB->SetStoreData(retrieval == irInternal);
}

void TDIBImagesItem::SetDisplayName(const std::string& name) {
  m_DisplayName = name;
  ui::CollectionItem::SetDisplayName(name);
}

void TDIBImagesItem::SetIndex(int index) {
  const int oldIndex = Index();
  ui::CollectionItem::SetIndex(index);
  const int newIndex = Index();
  TCustomDIBImageList* list = List();
  if (list != nullptr && newIndex != oldIndex) list->RemapLinks(oldIndex, newIndex);
}

void TDIBImagesItem::DIBChanged(ui::Persistent*) {
  TCustomDIBImageList* list = List();
  if (list != nullptr) list->NotifyLinks(Index(), ickChanged);
}

void TDIBImagesItem::LoadExternalFiles() {
  if (m_Loaded) return;
  if (m_ImageRetrieval == irInternal) {
    m_Loaded = true;
    return;
  }
  if (m_DIB->ImageFilename().empty()) return;  // tried again on the next read
  // One change notification for image and mask, also when a file cannot be read.
  m_DIB->BeginUpdate();
  try {
    const std::string maskFilename = m_DIB->MaskFilename();
    m_DIB->LoadImageFromFile(TranslateImagePath(m_DIB->ImageFilename()));
    if (!maskFilename.empty()) m_DIB->LoadMaskFromFile(TranslateImagePath(maskFilename));
    // Before the announcement: a link that repaints reads the image again, and must find it
    // loaded rather than read the files (and announce) once more.
    m_Loaded = true;
  } catch (...) {
    m_DIB->EndUpdate();
    throw;
  }
  m_DIB->EndUpdate();
}

std::string TDIBImagesItem::TranslateImagePath(const std::string& fileName) {
  if (fileName.empty() || !m_OnTranslateImagePath) return fileName;
  const auto nameStart =
      std::find_if(fileName.rbegin(), fileName.rend(), IsPathSeparator).base() - fileName.begin();
  std::string folder = fileName.substr(0, static_cast<std::size_t>(nameStart));
  const std::string name = fileName.substr(static_cast<std::size_t>(nameStart));
  m_OnTranslateImagePath(this, folder);
  if (folder.empty()) return name;
  if (!IsPathSeparator(folder.back())) folder += kPathSeparator;
  return folder + name;
}

void TDIBImagesItem::DefineProperties(ui::PropertyFiler& filer) {
  ui::CollectionItem::DefineProperties(filer);
  filer.DefineProperty(
      "TemplateFilename",
      [this](ui::ValueReader& reader) { m_TemplateFilename = reader.ReadString(); },
      [this](ui::ValueWriter& writer) { writer.WriteString(m_TemplateFilename); },
      !m_TemplateFilename.empty());
}

// --- TDIBImages ------------------------------------------------------------------------------

TDIBImages::TDIBImages(TCustomDIBImageList* list)
    : ui::Collection(list, &ui::MakeItem<TDIBImagesItem>), m_List(list) {}

TDIBImages::~TDIBImages() {
  // The items tell this collection and its list of their end: they must go while both are
  // whole, not from the base destructor.
  BeginUpdate();
  while (Count() > 0) Delete(Count() - 1);
}

const ui::TypeInfo& TDIBImages::StaticType() {
  static const ui::TypeInfo type =
      ui::TypeBuilder<TDIBImages>("TDIBImages", ui::Collection::StaticType()).Build();
  return type;
}

TDIBImagesItem& TDIBImages::FindOrAddTemplateItem(const std::string& templateId, int32_t number) {
  const std::string key = templateId + ":" + std::to_string(number);
  for (int i = 0; i < Count(); ++i) {
    if (Items(i).TemplateFilename() == key) return Items(i);
  }
  TDIBImagesItem& item = Add();
  item.SetTemplateFilename(key);
  return item;
}

// --- TCustomDIBImageList ---------------------------------------------------------------------

TCustomDIBImageList::TCustomDIBImageList(ui::Component* owner)
    : ui::Component(owner),
      m_DIBImages(std::make_unique<TDIBImages>(this)),
      m_View(std::make_unique<TMemoryDIB>(1, 1)),
      m_Work(std::make_unique<TMemoryDIB>(1, 1)) {}

TCustomDIBImageList::~TCustomDIBImageList() {
  EndLife();  // a notification loop still running stops here
  while (!m_Links.empty()) {
    m_Links.back()->m_DIBImageList = nullptr;
    m_Links.pop_back();
  }
  m_DIBImages.reset();
}

const ui::TypeInfo& TCustomDIBImageList::StaticType() {
  static const ui::TypeInfo type =
      ui::TypeBuilder<TCustomDIBImageList>("TCustomDIBImageList", ui::Component::StaticType())
          .Build();
  return type;
}

bool TCustomDIBImageList::IsRegistered(const TDIBImageLink* link) const {
  return std::find(m_Links.begin(), m_Links.end(), link) != m_Links.end();
}

void TCustomDIBImageList::RegisterLink(TDIBImageLink& link) {
  if (!IsRegistered(&link)) m_Links.push_back(&link);
  for (int32_t index = 0; index < m_DIBImages->Count(); ++index) {
    if (link.m_DIBImageList != this) return;  // a handler pointed it elsewhere
    link.ImageChanged(index, ickChanged);
  }
}

void TCustomDIBImageList::UnregisterLink(TDIBImageLink& link) {
  std::erase(m_Links, &link);
}

void TCustomDIBImageList::NotifyLinks(int32_t index, TDIBImageChangeKind kind) {
  if (index < 0) return;
  // A handler may unregister or destroy links, or destroy this list: only links still
  // registered are told, and nothing more once the list has gone.
  const std::vector<TDIBImageLink*> links = m_Links;
  const ui::WeakRef<TCustomDIBImageList> self(this);
  for (TDIBImageLink* link : links) {
    if (!self) return;
    if (IsRegistered(link)) link->ImageChanged(index, kind);
  }
}

void TCustomDIBImageList::RemapLinks(int32_t oldIndex, int32_t newIndex) {
  for (TDIBImageLink* link : m_Links) {
    int32_t& c = link->m_DIBIndex;
    if (c == oldIndex) {
      c = newIndex;
    } else if (oldIndex < newIndex && c > oldIndex && c <= newIndex) {
      --c;
    } else if (oldIndex > newIndex && c >= newIndex && c < oldIndex) {
      ++c;
    }
  }
}

TMemoryDIB* TCustomDIBImageList::GetImage(int32_t index) {
  if (!IsValidIndex(index)) return nullptr;
  TMemoryDIB& image = m_DIBImages->Items(index).DIB();
  if (!image.HasImage()) return nullptr;
  m_View->ShareFrom(image);
  return m_View.get();
}

void TCustomDIBImageList::ImageDestroying(const TAbstractSuperDIB& image) {
  if (m_View->Pixels() == image.Pixels() || m_View->DrawRoutineOwner() == &image) {
    m_View->ShareFrom(*m_Work);
  }
}

void TCustomDIBImageList::Loaded() {
  ui::Component::Loaded();
  for (int i = 0; i < m_DIBImages->Count(); ++i) {
    TDIBImagesItem& item = m_DIBImages->Items(i);
    if (item.ImageRetrieval() == irLoadOnStart) item.LoadExternalFiles();
  }
}

const ui::TypeInfo& TDIBImageList::StaticType() {
  using T = TDIBImageList;
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("TDIBImageList", TCustomDIBImageList::StaticType())
          .Object("DIBImages", &T::DIBImages)
          .Creatable()
          .Build();
  return type;
}

// --- TDIBImageLink ---------------------------------------------------------------------------

TDIBImageLink::TDIBImageLink(ui::Component* owner) : m_Owner(owner) {}

TDIBImageLink::~TDIBImageLink() {
  if (m_DIBImageList != nullptr) m_DIBImageList->UnregisterLink(*this);
}

const ui::TypeInfo& TDIBImageLink::StaticType() {
  using T = TDIBImageLink;
  static const ui::TypeInfo type =
      ui::TypeBuilder<T>("TDIBImageLink", ui::Persistent::StaticType())
          .Reference("DIBImageList", &T::DIBImageList, &T::SetDIBImageList)
          .Integer("DIBIndex", &T::DIBIndex, &T::SetDIBIndex)
          .Build();
  return type;
}

void TDIBImageLink::SetDIBImageList(TCustomDIBImageList* list) {
  if (m_DIBImageList != nullptr) m_DIBImageList->UnregisterLink(*this);
  m_DIBImageList = list;
  if (list != nullptr) list->RegisterLink(*this);
}

void TDIBImageLink::SetDIBIndex(int32_t index) {
  if (index == m_DIBIndex) return;
  m_DIBIndex = index;
  ImageChanged(index, ickChanged);
}

TMemoryDIB* TDIBImageLink::GetImage() const {
  return m_DIBImageList != nullptr ? m_DIBImageList->GetImage(m_DIBIndex) : nullptr;
}

bool TDIBImageLink::IsValid() const {
  return m_DIBImageList != nullptr && m_DIBImageList->IsValidIndex(m_DIBIndex);
}

void TDIBImageLink::ImageChanged(int32_t index, TDIBImageChangeKind kind) {
  if (kind == ickChanged && index != m_DIBIndex) return;
  if (kind == ickDeleted && index > m_DIBIndex) return;
  if (m_Owner != nullptr && m_Owner->HasState(ui::ComponentState::Destroying)) return;
  if (kind == ickDeleted && index < m_DIBIndex) {
    --m_DIBIndex;  // an earlier image went
    return;
  }
  m_OnImageChange(this, index, kind);
  if (kind == ickDeleted && index == m_DIBIndex) m_DIBIndex = -1;
}

void TDIBImageLink::Assign(const ui::Persistent& source) {
  const auto* link = dynamic_cast<const TDIBImageLink*>(&source);
  if (link == nullptr) {
    ui::Persistent::Assign(source);
    return;
  }
  SetDIBIndex(link->m_DIBIndex);
  SetDIBImageList(link->m_DIBImageList);
}

void RegisterDIBImageListClasses() {
  ui::ClassRegistry::Register(TDIBImageList::StaticType());
}
