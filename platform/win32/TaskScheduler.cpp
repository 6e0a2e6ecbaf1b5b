#include "platform/TaskScheduler.h"

#include "platform/win32/ComPtr.h"
#include "platform/win32/ComScope.h"

#include <windows.h>

#include <oleauto.h>
#include <taskschd.h>

namespace s::platform {

namespace {

// MinGW-w64's taskschd.h lacks ILogonTrigger; its layout is ITrigger's
// followed by four accessors, as in the Windows SDK.
MIDL_INTERFACE("72DADE38-FAE4-4b3e-BAF4-5D009AF02B1C")
ILogonTriggerDecl : public ITrigger
{
public:
    virtual HRESULT STDMETHODCALLTYPE get_Delay(BSTR * delay) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Delay(BSTR delay) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_UserId(BSTR * user) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_UserId(BSTR user) = 0;
};
const IID kIidLogonTrigger = {0x72DADE38, 0xFAE4, 0x4b3e, {0xBA, 0xF4, 0x5D, 0x00, 0x9A, 0xF0, 0x2B, 0x1C}};

// A BSTR, freed when it goes.
class Bstr {
public:
    explicit Bstr(std::u16string_view text)
        : m_raw(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size())))
    {
    }
    ~Bstr() { SysFreeString(m_raw); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR get() const { return m_raw; }

private:
    BSTR m_raw;
};

VARIANT emptyVariant()
{
    VARIANT value;
    VariantInit(&value);
    return value;
}

VARIANT textVariant(const Bstr& text)
{
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = text.get();
    return value;
}

// The service connected to the local machine, and its root folder.
class Session {
public:
    HRESULT open()
    {
        if (!m_com.usable())
            return m_com.result();
        HRESULT result =
            CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService, m_service.putVoid());
        if (FAILED(result))
            return result;
        result = m_service->Connect(emptyVariant(), emptyVariant(), emptyVariant(), emptyVariant());
        if (FAILED(result))
            return result;
        const Bstr root(u"\\");
        return m_service->GetFolder(root.get(), m_root.put());
    }
    ITaskService* service() const { return m_service.get(); }
    ITaskFolder* root() const { return m_root.get(); }

private:
    ComScope m_com;
    ComPtr<ITaskService> m_service;
    ComPtr<ITaskFolder> m_root;
};

HRESULT describe(ITaskDefinition& definition, const LogonTask& task)
{
    ComPtr<IRegistrationInfo> info;
    HRESULT result = definition.get_RegistrationInfo(info.put());
    if (FAILED(result))
        return result;
    const Bstr author(task.author);
    if (FAILED(result = info->put_Author(author.get())))
        return result;

    ComPtr<IPrincipal> principal;
    if (FAILED(result = definition.get_Principal(principal.put())))
        return result;
    const Bstr principalId(task.principalId);
    if (FAILED(result = principal->put_Id(principalId.get())))
        return result;
    if (FAILED(result = principal->put_LogonType(static_cast<TASK_LOGON_TYPE>(task.logonType))))
        return result;
    if (FAILED(result = principal->put_RunLevel(static_cast<TASK_RUNLEVEL_TYPE>(task.runLevel))))
        return result;

    ComPtr<ITaskSettings> settings;
    if (FAILED(result = definition.get_Settings(settings.put())))
        return result;
    if (FAILED(result = settings->put_StartWhenAvailable(task.startWhenAvailable ? VARIANT_TRUE : VARIANT_FALSE)))
        return result;
    if (FAILED(result = settings->put_DisallowStartIfOnBatteries(task.disallowStartIfOnBatteries ? VARIANT_TRUE
                                                                                                 : VARIANT_FALSE)))
        return result;
    if (FAILED(result =
                   settings->put_StopIfGoingOnBatteries(task.stopIfGoingOnBatteries ? VARIANT_TRUE : VARIANT_FALSE)))
        return result;

    ComPtr<ITriggerCollection> triggers;
    if (FAILED(result = definition.get_Triggers(triggers.put())))
        return result;
    ComPtr<ITrigger> trigger;
    if (FAILED(result = triggers->Create(TASK_TRIGGER_LOGON, trigger.put())))
        return result;
    ComPtr<ILogonTriggerDecl> logon;
    if (FAILED(result = trigger->QueryInterface(kIidLogonTrigger, logon.putVoid())))
        return result;
    const Bstr triggerId(task.triggerId);
    const Bstr userId(task.triggerUserId);
    const Bstr delay(task.triggerDelay);
    if (FAILED(result = logon->put_Id(triggerId.get())) || FAILED(result = logon->put_UserId(userId.get())) ||
        FAILED(result = logon->put_Delay(delay.get())))
        return result;

    ComPtr<IActionCollection> actions;
    if (FAILED(result = definition.get_Actions(actions.put())))
        return result;
    ComPtr<IAction> action;
    if (FAILED(result = actions->Create(TASK_ACTION_EXEC, action.put())))
        return result;
    ComPtr<IExecAction> exec;
    if (FAILED(result = action->QueryInterface(IID_IExecAction, exec.putVoid())))
        return result;
    const Bstr path(task.actionPath);
    const Bstr arguments(task.actionArguments);
    if (FAILED(result = exec->put_Path(path.get())))
        return result;
    return exec->put_Arguments(arguments.get());
}

class TaskSchedulerWin final : public ITaskScheduler {
public:
    HResult deleteTask(std::u16string_view name) override
    {
        Session session;
        HRESULT result = session.open();
        if (FAILED(result))
            return result;
        const Bstr task(name);
        return session.root()->DeleteTask(task.get(), 0);
    }

    HResult registerTask(std::u16string_view name, const LogonTask& task) override
    {
        Session session;
        HRESULT result = session.open();
        if (FAILED(result))
            return result;
        ComPtr<ITaskDefinition> definition;
        if (FAILED(result = session.service()->NewTask(0, definition.put())))
            return result;
        if (FAILED(result = describe(*definition.get(), task)))
            return result;
        const Bstr taskName(name);
        const Bstr sddl(task.securityDescriptor);
        ComPtr<IRegisteredTask> registered;
        return session.root()->RegisterTaskDefinition(
            taskName.get(), definition.get(), task.registrationFlags, emptyVariant(), emptyVariant(),
            static_cast<TASK_LOGON_TYPE>(task.registrationLogonType), textVariant(sddl), registered.put());
    }

    HResult findTask(std::u16string_view name) override
    {
        Session session;
        HRESULT result = session.open();
        if (FAILED(result))
            return result;
        const Bstr taskName(name);
        ComPtr<IRegisteredTask> task;
        return session.root()->GetTask(taskName.get(), task.put());
    }
};

}  // namespace

ITaskScheduler& taskScheduler()
{
    static TaskSchedulerWin instance;
    return instance;
}

}  // namespace s::platform
