#pragma once
// Image lists and image links. Skinned controls do not own their pictures: a list component holds
// an ordered collection of images, and each picture slot of a control is a link naming (list,
// index), -1 meaning none. Links follow their image when images are deleted or moved, hear when
// it changes, and are detached (list none, no event) when the list itself goes.
// User-interface thread only.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DIB/cDIB.h"
#include "ui/model/Collection.h"
#include "ui/model/Component.h"
#include "ui/model/Events.h"

class TCustomDIBImageList;
class TDIBImageLink;
class TDIBImages;

enum TDIBImageRetrieval : uint8_t { irInternal = 0, irLoadOnStart = 1, irLoadOnDemand = 2 };

enum TDIBImageChangeKind : uint8_t {
  ickDeleted = 0,  // the image at the index was removed
  ickChanged = 1,  // the image at the index changed, or the link was pointed at it
};

// (Sender, ImagePath): the handler may replace the folder part of an image file's path.
using TDIBTranslateImagePathEvent = ui::Delegate<ui::Persistent*, std::string&>;
// (Link, Index, Kind).
using TDIBImageChangeEvent = ui::Delegate<TDIBImageLink*, int32_t, TDIBImageChangeKind>;

// The image an item holds: 1 x 1 at first, and never larger than kMaxItemPixels, so that a
// hostile stored size cannot demand gigabytes before the "Data" that would fill them arrives.
class TDIBImagesItemDIB : public TMemoryDIB {
 public:
  // 8192 x 8192 pixels, 256 MiB: far beyond any skin.
  static constexpr uint64_t kMaxItemPixels = uint64_t{1} << 26;

  TDIBImagesItemDIB();

 protected:
  void AllocateImage() override;  // EDIBError beyond kMaxItemPixels
};

// One image of a list, with its display name, the template key that brought it in and where its
// pixels come from.
class TDIBImagesItem : public ui::CollectionItem {
 public:
  explicit TDIBImagesItem(ui::Collection& collection);  // a 1 x 1 image
  ~TDIBImagesItem() override;  // the list's links hear ickDeleted at the old index
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  // Reads the external files first when they are due (may raise the picture loader's error).
  TMemoryDIB& DIB();
  void SetDIB(const TAbstractSuperDIB& image);  // pixels and settings; the links hear of it
  TDIBImageRetrieval ImageRetrieval() const { return m_ImageRetrieval; }
  // Only internal images keep their pixels in the stored form.
  void SetImageRetrieval(TDIBImageRetrieval retrieval);
  std::string DisplayName() const override { return m_DisplayName; }
  void SetDisplayName(const std::string& name) override;
  // "{GUID}:n" for images a control template brought in, else empty.
  const std::string& TemplateFilename() const { return m_TemplateFilename; }
  void SetTemplateFilename(const std::string& key) { m_TemplateFilename = key; }
  bool Loaded() const { return m_Loaded; }
  const TDIBTranslateImagePathEvent& OnTranslateImagePath() const { return m_OnTranslateImagePath; }
  void SetOnTranslateImagePath(const TDIBTranslateImagePathEvent& handler) {
    m_OnTranslateImagePath = handler;
  }

  // Moves the item; the links follow the images they point at.
  void SetIndex(int index) override;
  // Reads ImageFilename and MaskFilename unless already loaded; irInternal images need nothing.
  // A file that cannot be read raises and leaves the item not loaded.
  void LoadExternalFiles();
  // fileName with its folder replaced as OnTranslateImagePath says.
  std::string TranslateImagePath(const std::string& fileName);

  // "TemplateFilename" when not empty.
  void DefineProperties(ui::PropertyFiler& filer) override;

 private:
  TMemoryDIB& StoredDIB() { return *m_DIB; }  // streaming: never loads files
  TCustomDIBImageList* List() const;
  void DIBChanged(ui::Persistent* sender);

  std::unique_ptr<TMemoryDIB> m_DIB;
  std::string m_TemplateFilename;
  std::string m_DisplayName;
  bool m_Loaded = false;
  TDIBImageRetrieval m_ImageRetrieval = irInternal;
  TDIBTranslateImagePathEvent m_OnTranslateImagePath;
};

// The ordered images of one list; an image's position is the index links use.
class TDIBImages : public ui::Collection {
 public:
  explicit TDIBImages(TCustomDIBImageList* list);  // not owned; may be none
  ~TDIBImages() override;                          // deletes the items while still whole
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  TCustomDIBImageList* List() const { return m_List; }
  TDIBImagesItem& Add() { return static_cast<TDIBImagesItem&>(ui::Collection::Add()); }
  TDIBImagesItem& Items(int index) const {
    return static_cast<TDIBImagesItem&>(ui::Collection::Items(index));
  }
  // The first item whose TemplateFilename is exactly templateId + ":" + number, else a new item
  // with that key.
  TDIBImagesItem& FindOrAddTemplateItem(const std::string& templateId, int32_t number);

 private:
  TCustomDIBImageList* m_List;
};

class TCustomDIBImageList : public ui::Component {
 public:
  explicit TCustomDIBImageList(ui::Component* owner);
  // Detaches every link first (their list becomes none, without events), then frees the images.
  ~TCustomDIBImageList() override;
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  TDIBImages& DIBImages() const { return *m_DIBImages; }
  int LinkCount() const { return static_cast<int>(m_Links.size()); }

  // ImageChanged(index, kind) on every registered link, in registration order. Nothing for a
  // negative index: no image has one.
  void NotifyLinks(int32_t index, TDIBImageChangeKind kind);
  // After an item moved from oldIndex to newIndex: every link keeps pointing at its image. No
  // events.
  void RemapLinks(int32_t oldIndex, int32_t newIndex);
  bool IsValidIndex(int32_t index) const { return index >= 0 && index < m_DIBImages->Count(); }
  // The list's one view image showing the image at index (reading its files when due); none
  // when the index is out of range or the image has no pixels. The view stays valid until the
  // next GetImage on this list and while that image keeps its storage: draw it at once.
  TMemoryDIB* GetImage(int32_t index);

  // irLoadOnStart items read their files.
  void Loaded() override;

 private:
  friend class TDIBImageLink;
  friend class TDIBImagesItem;

  // Links register through TDIBImageLink::SetDIBImageList, so that a link is registered exactly
  // with the list it names. RegisterLink fires the link's event once when its index is valid.
  void RegisterLink(TDIBImageLink& link);
  void UnregisterLink(TDIBImageLink& link);
  bool IsRegistered(const TDIBImageLink* link) const;
  // The view must not keep showing pixels that are about to go.
  void ImageDestroying(const TAbstractSuperDIB& image);

  std::unique_ptr<TDIBImages> m_DIBImages;
  std::vector<TDIBImageLink*> m_Links;  // not owned; each unregisters as it goes
  std::unique_ptr<TMemoryDIB> m_View;
  std::unique_ptr<TMemoryDIB> m_Work;  // what the view shows when its image has gone
};

// The component placed on forms.
class TDIBImageList : public TCustomDIBImageList {
 public:
  using TCustomDIBImageList::TCustomDIBImageList;
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }
};

// A control's reference to one image of a list. Stored as "DIBImageList" (the list's name) and
// "DIBIndex".
class TDIBImageLink : public ui::Persistent {
 public:
  // owner: the control that made the link (not owned; may be none). While it is being
  // destroyed the link ignores every notification.
  explicit TDIBImageLink(ui::Component* owner);
  ~TDIBImageLink() override;  // unregisters from its list
  static const ui::TypeInfo& StaticType();
  const ui::TypeInfo& Type() const override { return StaticType(); }

  ui::Component* Owner() const { return m_Owner; }
  TCustomDIBImageList* DIBImageList() const { return m_DIBImageList; }
  // Registers with list (none allowed); setting the same list again registers anew, so the
  // event fires again.
  void SetDIBImageList(TCustomDIBImageList* list);
  int32_t DIBIndex() const { return m_DIBIndex; }
  void SetDIBIndex(int32_t index);  // a different index fires ImageChanged(index, ickChanged)
  const TDIBImageChangeEvent& OnImageChange() const { return m_OnImageChange; }
  void SetOnImageChange(const TDIBImageChangeEvent& handler) { m_OnImageChange = handler; }

  TMemoryDIB* GetImage() const;  // the list's view of the image; none without one
  bool IsValid() const;

  // Called by the list: follows deletions before the image, fires OnImageChange for its own
  // image, and becomes -1 when its image is deleted.
  void ImageChanged(int32_t index, TDIBImageChangeKind kind);

  // From a link: DIBIndex first, then DIBImageList.
  void Assign(const ui::Persistent& source) override;

 private:
  friend class TCustomDIBImageList;

  ui::Component* m_Owner;
  TCustomDIBImageList* m_DIBImageList = nullptr;
  int32_t m_DIBIndex = -1;
  TDIBImageChangeEvent m_OnImageChange;
};

// Makes TDIBImageList known to the stream readers (idempotent).
void RegisterDIBImageListClasses();
