// The event texts of both programs as the log's viewer formats them from the message table:
// every ID gives its French text with the insertion strings in place and no line break after.
#include "Commun.h"
#include "platform/win32/Poignees.h"

namespace e2e {
namespace {

struct TexteEvenement {
    DWORD id;
    std::vector<std::wstring> chaines;
    std::wstring texte;
};

const std::vector<TexteEvenement>& Attendus() {
    static const std::vector<TexteEvenement> attendus = {
        {1,
         {L"maj 2.exe", L"\\\\serveur\\maj", L""},
         L"Mise à jour lancée : « maj 2.exe », du répertoire « \\\\serveur\\maj »."},
        {2,
         {L"setup.exe", L"D:\\Maj", L" Signataire : CN=Editeur, AB12."},
         L"Mise à jour lancée après la demande d'élévation (droits d'administrateur) : « setup.exe », "
         L"du répertoire « D:\\Maj ». Signataire : CN=Editeur, AB12."},
        {3,
         {L"maj1.exe", L"D:\\Maj"},
         L"Mise à jour non lancée : « maj1.exe », du répertoire « D:\\Maj », porte le même nom que la "
         L"dernière lancée sur ce poste."},
        {4, {L"D:\\Vide"}, L"Rien à lancer : le répertoire « D:\\Vide » ne contient aucun fichier exécutable."},
        {5,
         {L"\\\\serveur\\maj", L"Le chemin réseau n'a pas été trouvé."},
         L"Rien à lancer : le répertoire « \\\\serveur\\maj » est resté inaccessible après l'attente. "
         L"Raison : Le chemin réseau n'a pas été trouvé."},
        {6,
         {L"abîmé.exe", L"D:\\Maj", L"Accès refusé."},
         L"Échec du lancement de « abîmé.exe », du répertoire « D:\\Maj ». Raison : Accès refusé."},
        {7, {L"D:\\Maj"}, L"Rien n'a été lancé : le choix de l'exécutable du répertoire « D:\\Maj » a été annulé."},
        {8,
         {L"C:\\Program Files\\Tolvane\\Tolvane.ini"},
         L"Le fichier de paramètres « C:\\Program Files\\Tolvane\\Tolvane.ini » n'existe pas : rien n'a été "
         L"lancé."},
        {9,
         {L"maj1.exe", L"C:\\Program Files\\Tolvane\\Tolvane.ini", L"Accès refusé."},
         L"« maj1.exe » a été lancé, mais son nom n'a pas pu être noté dans « C:\\Program "
         L"Files\\Tolvane\\Tolvane.ini » : il pourra être relancé au prochain démarrage. Raison : Accès refusé."},
        {10,
         {L"D:\\Maj", L"Le chemin d'accès spécifié est introuvable."},
         L"Rien à lancer : le répertoire « D:\\Maj » ne peut pas être lu. Raison : Le chemin d'accès spécifié est "
         L"introuvable."},
        {11,
         {L"C:\\Program Files\\Tolvane\\Tolvane.ini"},
         L"Rien n'a été lancé : un autre lanceur a gardé le verrou du fichier de paramètres « C:\\Program "
         L"Files\\Tolvane\\Tolvane.ini » plus de 2 minutes."},
        {12,
         {L"C:\\Program Files\\Tolvane\\Tolvane.ini", L"Descripteur non valide."},
         L"Le verrou du fichier de paramètres « C:\\Program Files\\Tolvane\\Tolvane.ini » n'a pas pu être pris : le "
         L"lanceur continue sans lui, et un autre lanceur démarré au même moment pourrait lancer la même mise à jour. "
         L"Raison : Descripteur non valide."},
        {13,
         {L"setup.exe", L"\\\\serveur\\maj", L""},
         L"Mise à jour lancée sans ses indications, que personne ne pouvait lire (démarrage sans session ouverte) : "
         L"« setup.exe », du répertoire « \\\\serveur\\maj »."},
        {14,
         {L"\\\\serveur\\maj", L"2"},
         L"Rien n'a été lancé : le répertoire « \\\\serveur\\maj » contient 2 exécutables, et personne n'est là pour "
         L"choisir (démarrage sans session ouverte)."},
        {15,
         {L"M:\\Maj"},
         L"Rien n'a été lancé : le répertoire « M:\\Maj » est sur une lettre de lecteur, qui n'existe pas pour le "
         L"compte "
         L"système. Indiquez-le par son chemin réseau (\\\\serveur\\partage\\...)."},
        {16,
         {L"setup.exe", L"D:\\Maj", L"son éditeur n'est pas autorisé", L"CN=Autre", L"AB12"},
         L"Mise à jour refusée : « setup.exe », du répertoire « D:\\Maj » : son éditeur n'est pas autorisé. Elle "
         L"n'est ni lancée ni notée. Signataire : CN=Autre, empreinte SHA-1 AB12."},
        {17,
         {L"setup.exe", L"D:\\Maj", L"D:\\Maj : S-1-1-0 peut écrire"},
         L"Mise à jour refusée : « setup.exe », du répertoire « D:\\Maj », que d'autres que les administrateurs "
         L"peuvent changer : D:\\Maj : S-1-1-0 peut écrire. Le compte système ne lance que ce que seuls les "
         L"administrateurs décident ; elle n'est ni lancée ni notée."},
        {18,
         {L"setup.exe", L"D:\\Maj", L"D:\\Maj : S-1-1-0 peut écrire"},
         L"Mise à jour lancée : « setup.exe », du répertoire « D:\\Maj », que d'autres que les administrateurs "
         L"peuvent changer : D:\\Maj : S-1-1-0 peut écrire. Seuls les administrateurs devraient pouvoir y écrire."},
        {19,
         {L"C:\\Tolvane\\Tolvane.ini", L"12 34"},
         L"Rien n'a été lancé : la liste des éditeurs autorisés de « C:\\Tolvane\\Tolvane.ini » (section « Signature "
         L"», "
         L"clé « Editeurs ») n'est pas valide. Entrée en cause : « 12 34 »."},
        {20,
         {L"setup.exe", L"D:\\Maj", L""},
         L"Mise à jour réussie (code de sortie de succès) : « setup.exe », du répertoire « D:\\Maj ». Son nom est "
         L"noté."},
        {21,
         {L"setup.exe", L"D:\\Maj", L""},
         L"Mise à jour réussie, un redémarrage du poste est nécessaire pour la terminer (code 3010) : « setup.exe », "
         L"du répertoire « D:\\Maj ». Son nom est noté ; Tolvane ne redémarre jamais le poste."},
        {22,
         {L"setup.exe", L"D:\\Maj", L""},
         L"Mise à jour réussie ; elle a elle-même lancé le redémarrage du poste (code 1641) : « setup.exe », du "
         L"répertoire « D:\\Maj ». Son nom est noté."},
        {23,
         {L"setup.exe", L"D:\\Maj", L"1603", L"Erreur irrécupérable."},
         L"Échec de la mise à jour « setup.exe », du répertoire « D:\\Maj » : code de sortie 1603. Erreur "
         L"irrécupérable. Son nom n'est pas noté : elle sera relancée au prochain démarrage."},
        {24,
         {L"setup.exe", L"D:\\Maj", L"60"},
         L"Échec de la mise à jour « setup.exe », du répertoire « D:\\Maj » : toujours en cours après 60 minutes "
         L"(Duree_Maximale), elle a été arrêtée avec les processus qu'elle avait lancés. Son nom n'est pas noté."},
        {25,
         {L"setup.exe", L"D:\\Maj", L"3"},
         L"Mise à jour abandonnée : « setup.exe », du répertoire « D:\\Maj », a échoué 3 fois de suite sur ce poste ; "
         L"elle n'est plus lancée tant qu'une autre ne la remplace pas."},
        {26,
         {L"setup.exe", L"D:\\Maj", L"1"},
         L"Une autre installation est en cours (code 1618) : « setup.exe », du répertoire « D:\\Maj », sera relancée "
         L"dans 5 minutes (essai 1)."},
        {27,
         {L"C:\\Tolvane\\Tolvane.ini", L"Delai_Aleatoire", L"61", L"0"},
         L"Dans « C:\\Tolvane\\Tolvane.ini », la valeur « 61 » de la clé « Delai_Aleatoire » n'est pas admise : 0 est "
         L"utilisé à sa place."},
    };
    return attendus;
}

// The text of `id` from the module's table in `langue`, or the Windows error in brackets.
std::wstring Formate(HMODULE module, DWORD id, DWORD langue, const std::vector<std::wstring>& chaines) {
    std::vector<DWORD_PTR> arguments;
    for (const std::wstring& c : chaines) arguments.push_back(reinterpret_cast<DWORD_PTR>(c.c_str()));
    tolvane::win32::MemoireLocale<wchar_t> texte;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY, module, id,
        langue, reinterpret_cast<LPWSTR>(texte.put()), 0, reinterpret_cast<va_list*>(arguments.data()));
    if (n == 0) return L"[erreur " + std::to_wstring(GetLastError()) + L"]";
    return std::wstring(texte.get(), n);
}

TEST(TableEvenements, ChaqueIdentifiantDonneSonTexteFrancaisAvecSesChaines) {
    for (const std::wstring& programme : {Chemins().tolvane, Chemins().lanceur}) {
        SCOPED_TRACE(pilote::U8(programme));
        const tolvane::win32::PoigneeBibliotheque module(
            LoadLibraryExW(programme.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        ASSERT_TRUE(module);
        // Language 0 looks for a neutral text first, whatever the system's language; the table
        // is tagged neutral so that a viewer on an English system finds it too.
        for (const DWORD langue : {DWORD{0}, DWORD{MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)}}) {
            for (const TexteEvenement& e : Attendus())
                EXPECT_EQ(pilote::U8(Formate(module.get(), e.id, langue, e.chaines)), pilote::U8(e.texte))
                    << "ID " << e.id << ", langue " << langue;
        }
        EXPECT_EQ(Formate(module.get(), 28, 0, {}).rfind(L"[erreur ", 0), 0u) << "no ID beyond the outcomes";
    }
}

}  // namespace
}  // namespace e2e
