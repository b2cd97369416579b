#include "platform/media_win32.h"

#include <windows.h>
#include <oleauto.h>
// The SAPI identifiers are defined in this file (MinGW's import libraries lack them).
#include <initguid.h>
#include <sapi.h>
#include <agtsvr.h>

#include <utility>

#include "platform/wide_text_win32.h"
#include "core/text_format.h"

namespace vm {

namespace {

// The Microsoft Agent server object and its extended interface.
const CLSID kClsidAgentServer = {
    0xD45FD2FC, 0x5C6E, 0x11D1, {0x9E, 0xC1, 0x00, 0xC0, 0x4F, 0xD7, 0x08, 0x1F}};
const IID kIidAgentEx = {
    0x48D12BA0, 0x5B77, 0x11D1, {0x9E, 0xC1, 0x00, 0xC0, 0x4F, 0xD7, 0x08, 0x1F}};
// In-process, local or remote server.
constexpr DWORD kAgentContext = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

// InitCom calls of this thread that found COM already set up in the other apartment model: COM
// is usable then, but the call must not be balanced by CoUninitialize.
thread_local int tForeignApartments = 0;

template <typename T>
void ReleaseInterface(T*& object) {
  if (object != nullptr) {
    object->Release();
    object = nullptr;
  }
}

// A BSTR freed with its scope; null for an empty text, which the servers read as empty.
class Bstr {
 public:
  explicit Bstr(const std::string& text)
      : value_(text.empty() ? nullptr : SysAllocString(Utf8ToWide(text).c_str())) {}
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR Get() const { return value_; }

 private:
  BSTR value_;
};

class AgentConnection : public SpeechConnection {
 public:
  explicit AgentConnection(IAgentEx* server) : server_(server) {}
  ~AgentConnection() override {
    ReleaseInterface(character_);
    ReleaseInterface(server_);
  }

  SpeechEngine Engine() const override { return SpeechEngine::Agent; }

  SpeechResult Load(const std::optional<std::string>& characterFile, std::int32_t& characterId,
                    std::int32_t& requestId) override {
    VARIANT key;
    VariantInit(&key);  // empty: the default character
    if (characterFile) {
      key.vt = VT_BSTR;
      key.bstrVal = SysAllocString(Utf8ToWide(*characterFile).c_str());
      if (key.bstrVal == nullptr) return E_OUTOFMEMORY;
    }
    long id = 0;
    long request = 0;
    HRESULT hr = server_->Load(key, &id, &request);
    VariantClear(&key);
    if (SUCCEEDED(hr)) {
      characterId = id;
      requestId = request;
    }
    return hr;
  }

  SpeechResult GetCharacterEx(std::int32_t characterId) override {
    ReleaseInterface(character_);
    HRESULT hr = server_->GetCharacterEx(characterId, &character_);
    if (SUCCEEDED(hr) && character_ == nullptr) hr = E_POINTER;
    return hr;
  }

  SpeechResult SetLanguageID(std::int32_t languageId) override {
    return character_ ? character_->SetLanguageID(languageId) : E_POINTER;
  }
  SpeechResult SetSoundEffectsOn(bool on) override {
    return character_ ? character_->SetSoundEffectsOn(on ? 1 : 0) : E_POINTER;
  }
  SpeechResult SetSize(std::int32_t width, std::int32_t height) override {
    return character_ ? character_->SetSize(width, height) : E_POINTER;
  }
  SpeechResult Show(bool fast) override {
    if (!character_) return E_POINTER;
    long request = 0;
    return character_->Show(fast ? 1 : 0, &request);
  }
  SpeechResult Speak(const std::string& text) override {
    if (!character_) return E_POINTER;
    Bstr words(text);
    long request = 0;
    return character_->Speak(words.Get(), nullptr, &request);
  }

  // The server does not tell without a notification sink; the caller waits a fixed time.
  bool CanWaitUntilDone() const override { return false; }
  bool WaitUntilDone(std::uint32_t) override { return false; }
  // Unloading the character ends its speech.
  void StopSpeaking() override {}

  SpeechResult Unload(std::int32_t characterId) override {
    ReleaseInterface(character_);
    return server_->Unload(characterId);
  }

 private:
  IAgentEx* server_;
  IAgentCharacterEx* character_ = nullptr;
};

// SAPI 5 in place of the Agent server: the "character" is the voice, loading and showing it
// always succeed, and the language picks an installed voice of that language.
class SapiConnection : public SpeechConnection {
 public:
  // The id Load hands out; the voice has no other.
  static constexpr std::int32_t kVoiceId = 1;

  explicit SapiConnection(ISpVoice* voice) : voice_(voice) {}
  ~SapiConnection() override { ReleaseInterface(voice_); }

  SpeechEngine Engine() const override { return SpeechEngine::Sapi; }

  SpeechResult Load(const std::optional<std::string>&, std::int32_t& characterId,
                    std::int32_t& requestId) override {
    characterId = kVoiceId;
    requestId = 0;
    return S_OK;
  }
  SpeechResult GetCharacterEx(std::int32_t characterId) override {
    return characterId == kVoiceId ? S_OK : E_INVALIDARG;
  }

  // Keeps the default voice when no voice of the language is installed: the text is still
  // spoken, only with the user's usual voice.
  SpeechResult SetLanguageID(std::int32_t languageId) override {
    const std::string attributes = vm::FormatText("Language=%x", static_cast<unsigned>(languageId));
    ISpObjectTokenCategory* category = nullptr;
    IEnumSpObjectTokens* tokens = nullptr;
    ISpObjectToken* token = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL,
                                   IID_ISpObjectTokenCategory,
                                   reinterpret_cast<void**>(&category))) &&
        SUCCEEDED(category->SetId(SPCAT_VOICES, FALSE)) &&
        SUCCEEDED(category->EnumTokens(Utf8ToWide(attributes).c_str(), nullptr, &tokens)) &&
        tokens != nullptr) {
      ULONG fetched = 0;
      if (tokens->Next(1, &token, &fetched) == S_OK && fetched == 1 && token != nullptr)
        voice_->SetVoice(token);
    }
    ReleaseInterface(token);
    ReleaseInterface(tokens);
    ReleaseInterface(category);
    return S_OK;
  }

  SpeechResult SetSoundEffectsOn(bool) override { return S_OK; }
  SpeechResult SetSize(std::int32_t, std::int32_t) override { return S_OK; }
  SpeechResult Show(bool) override { return S_OK; }

  SpeechResult Speak(const std::string& text) override {
    // Asynchronous like the Agent server; the text is read as plain text, so a message that
    // happens to look like markup is spoken as written.
    return voice_->Speak(Utf8ToWide(text).c_str(), SPF_ASYNC | SPF_IS_NOT_XML, nullptr);
  }

  bool CanWaitUntilDone() const override { return true; }
  bool WaitUntilDone(std::uint32_t milliseconds) override {
    return voice_->WaitUntilDone(milliseconds) == S_OK;
  }
  void StopSpeaking() override { voice_->Speak(nullptr, SPF_ASYNC | SPF_PURGEBEFORESPEAK, nullptr); }

  SpeechResult Unload(std::int32_t) override { return S_OK; }

 private:
  ISpVoice* voice_;
};

}  // namespace

SpeechResult Win32SpeechServer::InitCom() {
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (hr == RPC_E_CHANGED_MODE) {
    ++tForeignApartments;
    return S_FALSE;
  }
  return hr;
}

void Win32SpeechServer::UninitCom() {
  if (tForeignApartments > 0) {
    --tForeignApartments;
    return;
  }
  CoUninitialize();
}

std::unique_ptr<SpeechConnection> Win32SpeechServer::CreateAgent(SpeechResult& code) {
  IAgentEx* server = nullptr;
  HRESULT hr = CoCreateInstance(kClsidAgentServer, nullptr, kAgentContext, kIidAgentEx,
                                reinterpret_cast<void**>(&server));
  if (SUCCEEDED(hr) && server == nullptr) hr = E_POINTER;
  code = hr;
  if (FAILED(hr)) return nullptr;
  return std::make_unique<AgentConnection>(server);
}

std::unique_ptr<SpeechConnection> Win32SpeechServer::CreateSapi(SpeechResult& code) {
  ISpVoice* voice = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                                reinterpret_cast<void**>(&voice));
  if (SUCCEEDED(hr) && voice == nullptr) hr = E_POINTER;
  code = hr;
  if (FAILED(hr)) return nullptr;
  return std::make_unique<SapiConnection>(voice);
}

std::unique_ptr<SpeechConnection> Win32SpeechServer::CreateFallback(SpeechResult& code) {
  return CreateSapi(code);
}

std::unique_ptr<SpeechConnection> Win32SpeechServer::Create(SpeechResult& code) {
  if (auto agent = CreateAgent(code)) return agent;
  return CreateSapi(code);
}

}  // namespace vm
