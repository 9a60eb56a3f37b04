// SystemLib.HostConfig: the system report file. Ten sections, each one management query
// whose objects are written one property a line, under the report's French labels.
#include <span>

#include "frame/file_numbers.h"
#include "platform/management.h"
#include "runtime/trap.h"
#include "system/SystemLib.h"

namespace zv::impl {

namespace {

struct Item {
  const char16_t* label;
  int tabs;
  const char16_t* property;
};

struct Section {
  const char16_t* title;  // nullptr: the line of "#" only
  const char16_t* className;
  std::span<const Item> items;
};

constexpr Item kOperatingSystem[] = {{u"Nom de l'OS", 2, u"Name"},
                                     {u"Version", 2, u"Version"},
                                     {u"Nom du Fabricant", 1, u"Manufacturer"},
                                     {u"Repertoire windows", 1, u"WindowsDirectory"},
                                     {u"Chemin Locale", 1, u"Locale"},
                                     {u"Memoire physique dispo", 1, u"FreePhysicalMemory"},
                                     {u"Memoire virtuelle total", 1, u"TotalVirtualMemorySize"},
                                     {u"Memoire virtuelle dispo", 1, u"FreeVirtualMemory"},
                                     {u"Memoire partager", 2, u"SizeStoredInPagingFiles"}};
constexpr Item kComputerSystem[] = {{u"Nom de l'ordinateur ", 2, u"Name"},
                                    {u"Nom du Fabricant", 2, u"Manufacturer"},
                                    {u"Nom de produit", 2, u"Model"},
                                    {u"Zone horraire", 2, u"CurrentTimeZone"},
                                    {u"Memoire physique totale", 1, u"TotalPhysicalMemory"}};
constexpr Item kProcessor[] = {{u"Processeur", 2, u"Description"},
                               {u"Fr\u00e9quence actuelle", 1, u"CurrentClockSpeed"},
                               {u"Fr\u00e9quence Maximum", 1, u"MaxClockSpeed"}};
constexpr Item kBios[] = {{u"Nom du BIOS", 2, u"Name"},
                          {u"Nom du Fabricant", 1, u"Manufacturer"},
                          {u"Version", 2, u"Version"},
                          {u"Numero de s\u00e9rie", 2, u"SerialNumber"},
                          {u"Date de publication", 1, u"ReleaseDate"},
                          {u"Language utilis\u00e9", 1, u"CurrentLanguage"}};
constexpr Item kProcess[] = {
    {u"Nom", 2, u"Name"}, {u"Numero id", 1, u"Handle"}, {u"Numero id", 1, u"HandleCount"}};
constexpr Item kMemory[] = {{u"Label", 3, u"Name"},
                            {u"Description", 3, u"Description"},
                            {u"Memoire", 1, u"TotalPhysicalMemory"}};
constexpr Item kCdRom[] = {{u"Nom", 3, u"Name"},
                           {u"Type de media", 1, u"MediaType"},
                           {u"Nom du Fabricant", 1, u"Manufacturer"},
                           {u"Description", 2, u"Description"},
                           {u"Nom du volume", 2, u"VolumeName"},
                           {u"Numero de serie du media", 2, u"VolumeSerialNumber"},
                           {u"Taille de bloque par defaut", 2, u"DefaultBlockSize"},
                           {u"Taille du lecteur", 2, u"Size"},
                           {u"Taux de transfert", 2, u"TransferRate"},
                           {u"Lettre de lecteur", 1, u"Drive"},
                           {u"Identifiant", 2, u"DeviceID"}};
constexpr Item kNetworkConnection[] = {{u"Nom", 2, u"Name"},
                                       {u"Nom Local", 2, u"LocalName"},
                                       {u"Nom d'utilisateur ", 2, u"Username"},
                                       {u"Type", 2, u"DisplayType"},
                                       {u"Description", 2, u"Description"},
                                       {u"Etat de la connection ", 2, u"ConnectionState"},
                                       {u"Nom du fournisseur", 2, u"ProviderName"},
                                       {u"Nom de la ressource distante", 2, u"RemoteName"},
                                       {u"Chemin ressource distante", 2, u"RemotePath"},
                                       {u"Type de ressource", 2, u"ResourceType"},
                                       {u"Commentaire du fournisseur", 2, u"comment"}};
constexpr Item kNetworkAdapter[] = {{u"Type de carte", 1, u"AdapterType"},
                                    {u"Nom", 3, u"Name"},
                                    {u"Statut", 2, u"Availability"},
                                    {u"Description", 2, u"Description"},
                                    {u"Adresse MAC", 2, u"MACAddress"},
                                    {u"Adresses r\u00e9seau de la carte ", 2, u"NetworkAddresses"},
                                    {u"Adresse pr\u00e9 programm\u00e9 ", 2, u"PermanentAddress"},
                                    {u"Nom du Fabricant", 2, u"Manufacturer"},
                                    {u"Nb max de port adressable", 1, u"MaxNumberControlled"},
                                    {u"Nom de produit", 2, u"ProductName"},
                                    {u"Nom de service", 2, u"ServiceName"},
                                    {u"Bande passante actuelle", 2, u"Speed"},
                                    {u"Derniere r\u00e9initialisation", 1, u"TimeOfLastReset"}};
constexpr Item kAccount[] = {{u"Nom", 2, u"Name"},
                             {u"Description", 1, u"Description"},
                             {u"Domaines", 1, u"Domain"},
                             {u"SID", 2, u"SID"}};

constexpr Section kSections[] = {
    {u"Systeme d'exploitation", u"Win32_OperatingSystem", kOperatingSystem},
    {u"Systeme ordinateur", u"Win32_ComputerSystem", kComputerSystem},
    {nullptr, u"Win32_Processor", kProcessor},
    {u"Syteme BIOS", u"Win32_BIOS", kBios},
    {u"Processus", u"Win32_Process", kProcess},
    {u"Disponibilit\u00e9 RAM", u"Win32_LogicalMemoryConfiguration", kMemory},
    {u"CD ROM", u"Win32_CDROMDrive", kCdRom},
    {u"Connexion reseau", u"Win32_NetworkConnection", kNetworkConnection},
    {u"NIC", u"Win32_NetworkAdapter", kNetworkAdapter},
    {u"Utilisateur", u"Win32_Account", kAccount}};

constexpr size_t kFirstShortSection = 4;  // from the fifth on, one blank line per object

}  // namespace

// Skip: every statement that fails is passed over, so a failed query leaves its section
// empty and a property without a single value leaves its line out.
void SystemLib::HostConfig(const String& theFile) {
  if (theFile.empty()) return;
  FileNumber file;
  resumeNext([&] { file = openFile(theFile, FileMode::Output); });
  const auto line = [&](const String& text) { resumeNext([&] { file.file().writeLine(text); }); };
  for (size_t s = 0; s < std::size(kSections); ++s) {
    const Section& section = kSections[s];
    const String rule(30, u'#');
    line(section.title ? rule + u"\r\n" + section.title + u" : " : rule);
    const bool longSection = s < kFirstShortSection;
    std::vector<platform::ManagedObject> objects;
    resumeNext([&] { objects = platform::queryManagement(section.className).value_or(objects); });
    for (const platform::ManagedObject& object : objects) {
      for (const Item& item : section.items)
        if (const auto value = object.get(item.property))
          line(item.label + String(u" : ") + String(item.tabs, u'\t') + *value);
      line(String());
      if (longSection) line(String());
    }
    if (!longSection) line(String());
  }
  resumeNext([&] { file.close(); });
  clearPendingError();
}

}  // namespace zv::impl
